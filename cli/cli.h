// The railwick command-line tool: one function per command.
#pragma once
#include <string>
#include <vector>

using CliArgs = std::vector<std::string>;  // UTF-8, after the command word

int CliCompile(const CliArgs& args);
int CliDump(const CliArgs& args);
int CliVerify(const CliArgs& args);
int CliDumpJson(const CliArgs& args);  // dump --json
int CliDiff(const CliArgs& args);
int CliCheck(const CliArgs& args);
int CliWatch(const CliArgs& args);
int CliMake(const CliArgs& args);
int CliScript(const CliArgs& args);

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints a UTF-8 line on stderr, prefixed "railwick: ".
void CliError(const std::string& message);

// An environment variable as UTF-8; empty when it is not set.
std::string CliEnvironment(const char* name);
