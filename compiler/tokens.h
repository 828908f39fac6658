// The arguments of the script line being executed. An absent token reads
// as an empty text or 0.
#pragma once
#include <cstdint>
#include <string>

#include "compiler/vehicle_compiler.h"

inline bool HasToken(const VehicleCompiler& c, int i) { return i < kMaxTokens && c.tokens[i] != nullptr; }
inline const char* TokenBytes(const VehicleCompiler& c, int i) { return HasToken(c, i) ? c.tokens[i] : ""; }

std::u16string TokenText(const VehicleCompiler& c, int i);
// The text cut to `max_units`.
std::u16string TokenText(const VehicleCompiler& c, int i, size_t max_units);
int32_t TokenInt(const VehicleCompiler& c, int i);
float TokenFloat(const VehicleCompiler& c, int i);          // as written
float TokenScaled(const VehicleCompiler& c, int i);         // times the length scale
double TokenDouble(const VehicleCompiler& c, int i);
// A number the command checks: when absent, logs "TOKEN NULL" and gives -1.
int32_t CheckedInt(VehicleCompiler& c, int i);
// True when the token equals `word` byte for byte (word in UTF-8 source,
// compared after converting the token).
bool TokenIs(const VehicleCompiler& c, int i, const char16_t* word);

// Logs at error level and sets the compiler's error mark.
template <typename... Args>
void LogError(VehicleCompiler& c, const char16_t* format, const Args&... args) {
  Log(*c.log, 0, format, args...);
  c.error_mark = 1;
}
template <typename... Args>
void LogInfo(VehicleCompiler& c, const char16_t* format, const Args&... args) {
  Log(*c.log, 1, format, args...);
}
