// The file name of an MTL texture map line ("map_Kd -s 1 1 1 my tex.png"):
// options before it are skipped, and the name is the rest of the line, so
// it may hold blanks.
#pragma once
#include <cstdint>

#include "modelio/obj_text.h"

// `p` points just after the keyword. Empty (begin == end) when the line
// names no file.
objtext::Token MapFileName(uint8_t* p);

// True for the colour map keyword, "map_Kd" in any letter case.
bool IsColourMapKey(const objtext::Token& key);
