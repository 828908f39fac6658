// Screenshots: the frame just drawn, copied from the back buffer before it is
// presented, saved as a BMP file in the user's picture folder.
#include <windows.h>
// clang-format off
#include <d3dx9.h>
#include <shlobj.h>
// clang-format on

#include <cwchar>
#include <string>

#include "app/frame.h"
#include "platform/fs.h"
#include "render/renderer_win.h"

namespace {

constexpr size_t kScreenshotPathUnits = 256;

std::wstring PictureFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (SHGetSpecialFolderPathW(nullptr, folder, CSIDL_MYPICTURES, FALSE)) return folder;
  if (SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE)) return folder;
  return {};
}

}  // namespace

std::wstring CFrame::ScreenshotPath(const wchar_t* file_name) const {
  std::u16string given;
  for (const wchar_t* p = file_name; *p; ++p) given.push_back(static_cast<char16_t>(*p));
  std::u16string base = FsSplitPath(given).name;
  const std::wstring folder = PictureFolder();
  if (folder.empty()) return {};
  std::wstring path = folder + L"\\" + std::wstring(base.begin(), base.end()) + L".bmp";
  if (path.size() > kScreenshotPathUnits) return {};  // never a cut-off name
  return path;
}

HRESULT CFrame::TakeScreenshot(const wchar_t* file_name) {
  const std::wstring path = ScreenshotPath(file_name);
  if (path.empty()) return E_FAIL;

  if (!renderer_ || !renderer_->Device()) return S_OK;
  IDirect3DSurface9* copy = nullptr;
  HRESULT hr = renderer_->CaptureBackBuffer(&copy);
  if (FAILED(hr)) return hr;
  hr = D3DXSaveSurfaceToFileW(path.c_str(), D3DXIFF_BMP, copy, nullptr, nullptr);
  copy->Release();
  return hr;
}
