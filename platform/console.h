// Process entry and terminal output: arguments arrive as UTF-8 on every
// build, and UTF-8 text reaches the console intact.
#pragma once
#include <string>
#include <vector>

// Implemented by the program; called by the platform's main with UTF-8 arguments.
int RunCli(const std::vector<std::string>& argv);

// True when the stream (1 stdout, 2 stderr) is a terminal.
bool ConsoleIsTerminal(int stream);
