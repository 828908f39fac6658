#include "probes/dx_probe.h"

// The DxDiag GUIDs are in no import library: this file defines them.
#include <initguid.h>
// clang-format off
#include <dxdiag.h>
// clang-format on
#include <oleauto.h>

#include <new>
#include <string>
#include <vector>

namespace {

// Reads one property of the wanted type; the VARIANT is cleared in every case.
bool ReadUint(IDxDiagContainer* container, const wchar_t* name, uint32_t* out) {
  VARIANT v;
  VariantInit(&v);
  bool ok = SUCCEEDED(container->GetProp(name, &v)) && v.vt == VT_UI4;
  if (ok) *out = v.ulVal;
  VariantClear(&v);
  return ok;
}

bool ReadLetter(IDxDiagContainer* container, const wchar_t* name, char16_t* out) {
  VARIANT v;
  VariantInit(&v);
  bool ok = SUCCEEDED(container->GetProp(name, &v)) && v.vt == VT_BSTR && v.bstrVal != nullptr;
  if (ok) *out = v.bstrVal[0] ? static_cast<char16_t>(v.bstrVal[0]) : u' ';
  VariantClear(&v);
  return ok;
}

}  // namespace

HRESULT ProbeDirectXViaDxDiag(DirectXVersion* version) {
  bool com_started = SUCCEEDED(CoInitialize(nullptr));
  bool ok = false;
  IDxDiagProvider* provider = nullptr;
  IDxDiagContainer* root = nullptr;
  IDxDiagContainer* system_info = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_DxDiagProvider, nullptr, CLSCTX_INPROC_SERVER, IID_IDxDiagProvider,
                                 reinterpret_cast<void**>(&provider)))) {
    DXDIAG_INIT_PARAMS params = {};
    // The structure's own size: 24 bytes in a 64-bit program, which the
    // service checks.
    params.dwSize = sizeof(params);
    params.dwDxDiagHeaderVersion = DXDIAG_DX9_SDK_VERSION;
    params.bAllowWHQLChecks = FALSE;
    params.pReserved = nullptr;
    if (SUCCEEDED(provider->Initialize(&params)) && SUCCEEDED(provider->GetRootContainer(&root)) &&
        SUCCEEDED(root->GetChildContainer(L"DxDiag_SystemInfo", &system_info))) {
      DirectXVersion found;
      ok = ReadUint(system_info, L"dwDirectXVersionMajor", &found.major) &&
           ReadUint(system_info, L"dwDirectXVersionMinor", &found.minor) &&
           ReadLetter(system_info, L"szDirectXVersionLetter", &found.letter);
      if (ok) *version = found;
    }
  }
  if (system_info) system_info->Release();
  if (root) root->Release();
  if (provider) provider->Release();
  if (com_started) CoUninitialize();
  return ok ? S_OK : E_FAIL;
}

HRESULT ReadFileVersion(const wchar_t* path, FileVersion* version) {
  if (!path || !version) return E_INVALIDARG;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (size == 0) return E_FAIL;
  std::vector<BYTE> block;
  try {
    block.resize(size);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (!GetFileVersionInfoW(path, 0, size, block.data())) return E_FAIL;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT info_size = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &info_size) || !info ||
      info_size < sizeof(VS_FIXEDFILEINFO)) {
    return E_FAIL;
  }
  version->ms = info->dwFileVersionMS;
  version->ls = info->dwFileVersionLS;
  return S_OK;
}

HRESULT ProbeDirectXViaFiles(DirectXVersion* version) {
  wchar_t folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    *version = DirectXVersion();
    return S_OK;
  }
  std::wstring system_folder(folder, length);
  *version = InferDirectXVersionFromFiles([&](const char16_t* name, FileVersion* v) {
    std::wstring path = system_folder + L"\\";
    for (const char16_t* p = name; *p; ++p) path.push_back(static_cast<wchar_t>(*p));
    return SUCCEEDED(ReadFileVersion(path.c_str(), v));
  });
  return S_OK;
}

HRESULT GetDirectXVersion(uint32_t* packed) {
  if (!packed) return E_INVALIDARG;
  *packed = 0;
  DirectXVersion version;
  if (FAILED(ProbeDirectXViaDxDiag(&version)) && FAILED(ProbeDirectXViaFiles(&version))) return E_FAIL;
  *packed = PackDirectXVersion(version);
  return S_OK;
}
