// How file arguments of script commands are found.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/vehicle_compiler.h"

// The script folder joined with a relative name; empty when the name is
// absolute (it is used as it stands) or the result would pass 259 units.
std::u16string JoinScriptFolder(const VehicleCompiler& c, const std::u16string& name);

// Reads `name` resolved against the script folder (an absolute name as it
// stands). False when it cannot be read or is empty.
bool ReadScriptFile(const VehicleCompiler& c, const std::u16string& name, std::vector<uint8_t>& out);
// ReadScriptFile for a file read more than once in a run (a texture image:
// its command, the libraries naming it, the texture block, and the project's
// checks before them): answered from the read cache after the first read.
bool ReadSharedScriptFile(const VehicleCompiler& c, const std::u16string& name, std::vector<uint8_t>& out);
