// Which DirectX is installed: the diagnostics service first, the versions of
// known system files when the service does not answer.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/dx_version.h"

// Sets `packed` (0 first) to the packed version. S_OK, or E_FAIL when both
// probes fail (the file probe does not fail).
HRESULT GetDirectXVersion(uint32_t* packed);
HRESULT ProbeDirectXViaDxDiag(DirectXVersion* version);
HRESULT ProbeDirectXViaFiles(DirectXVersion* version);
// S_OK; E_INVALIDARG without a path or an out value; E_FAIL when the file has
// no version resource or no root block; E_OUTOFMEMORY.
HRESULT ReadFileVersion(const wchar_t* path, FileVersion* version);
