// Generated vehicle scripts for the compile benchmarks.
#pragma once
#include <string>

// A Shift-JIS script of exactly `lines` lines (at least 7): a header, then a
// setting section of commands that need no files, in the mix a hand-written
// script has (records of several sizes, scaled numbers, comments, blank lines).
std::string BenchScript(int lines);
