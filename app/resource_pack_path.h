// Opening the resource pack from data/ beside the executable.
#pragma once
#include <windows.h>

#include <string>

#include "platform/resource_pack.h"

// "%sdata/%s.res" from the executable's drive and folder and the pack name.
// Empty when the module path cannot be read.
std::u16string ResourcePackPath(const ResourcePack& pack);
// S_OK or E_FAIL (missing, unreadable or malformed pack).
HRESULT OpenResourcePack(ResourcePack& pack);
