// Prints a compiler log as UTF-8, each line from a script line prefixed
// with its file and line number.
#pragma once
#include <cstdio>

#include "compiler/log_buffer.h"

void PrintLog(const LogBuffer& log, std::FILE* out);
