// Cuts a script text into lines and tokens and executes each line.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/vehicle_compiler.h"

// Parses `length` bytes of `text` (which must have one writable spare byte
// after them, set to NUL) in place; the text ends at its first NUL, which
// is noted in the log. `file` names the text in log lines.
// False when the error mark is set at the end or a quote is left open (which
// stops the parse at once).
bool ParseScript(VehicleCompiler& c, char* text, size_t length, const std::u16string& file);
