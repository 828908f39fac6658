// Prints a compiler log as UTF-8, each line from a script line prefixed
// with its file and line number.
#pragma once
#include <cstdio>

#include "compiler/log_buffer.h"

void PrintLog(const LogBuffer& log, std::FILE* out);

// Prints each line of one log message (CR LF or LF ended) with `prefix` in
// front, ending in the terminal's LF.
void PrintMessageLines(const std::u16string& prefix, const std::u16string& message, std::FILE* out);
