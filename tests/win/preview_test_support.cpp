#include "tests/win/preview_test_support.h"

#include <vector>

HWND WaitDialog(const wchar_t* caption, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 10) {
    HWND window = FindWindowW(L"#32770", caption);
    if (window != nullptr && IsWindowVisible(window)) return window;
    Sleep(10);
  }
  return nullptr;
}

bool WaitClosed(HWND window, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 10) {
    if (!IsWindow(window)) return true;
    Sleep(10);
  }
  return false;
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring TakeMessageBox(const wchar_t* caption, int timeout_ms) {
  HWND box = WaitDialog(caption, timeout_ms);
  if (box == nullptr) return {};
  std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
  PressButton(box, IDOK);
  WaitClosed(box);
  return text;
}

namespace {

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (IsWindowVisible(window) && std::wstring(name) == L"#32770")
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

bool CloseThreadDialogs(DWORD thread, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 50) {
    std::vector<HWND> dialogs;
    EnumThreadWindows(thread, CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    if (dialogs.empty()) return true;
    for (HWND dialog : dialogs) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    Sleep(50);
  }
  return false;
}

std::u16string SourceFile(const char* relative) {
  std::u16string path;
  for (const char* p = RAILWICK_SOURCE_DIR "/"; *p != 0; ++p) path.push_back(static_cast<char16_t>(*p));
  for (const char* p = relative; *p != 0; ++p) path.push_back(static_cast<char16_t>(*p));
  return path;
}
