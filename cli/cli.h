// The railwick command-line tool: one function per command, each taking the
// options its command line gave (UTF-8, parsed in main.cpp).
#pragma once
#include <string>

// make, script, check and watch: PROJECT.xml [-o OUT] [--workshop NAME].
struct ProjectOptions {
  std::string project_file;
  std::string output;         // -o: a folder for make and watch, a file for script; empty when absent
  std::string workshop;       // --workshop
  bool workshop_given = false;  // --workshop was there, even when empty
};

// watch: stops after `max_builds` builds when positive (for scripts and tests).
struct WatchOptions : ProjectOptions {
  long max_builds = -1;
};

// compile SCRIPT [-o OUTPUT].
struct ScriptOptions {
  std::string script;
  std::string output;  // the data file to write; empty: the name the script gives
};

// dump [--json] FILE and verify FILE.
struct DataFileOptions {
  std::string file;
  bool json = false;
};

// diff A B.
struct DiffOptions {
  std::string file_a, file_b;
};

int CliCompile(const ScriptOptions& options);
int CliDump(const DataFileOptions& options);
int CliVerify(const DataFileOptions& options);
int CliDumpJson(const DataFileOptions& options);  // dump --json
int CliDiff(const DiffOptions& options);
int CliCheck(const ProjectOptions& options);
int CliWatch(const WatchOptions& options);
int CliMake(const ProjectOptions& options);
int CliScript(const ProjectOptions& options);

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints a UTF-8 line on stderr, prefixed "railwick: ".
void CliError(const std::string& message);

// An environment variable as UTF-8; empty when it is not set.
std::string CliEnvironment(const char* name);
