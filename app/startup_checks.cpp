#include "app/startup_checks.h"

#include <cwchar>

#include "app/frame.h"
#include "app/registry_settings.h"

namespace {

constexpr wchar_t kMutexName[] = L"zek5rlwck";

bool IsFrameWindow(HWND window) {
  if (!window || !IsWindow(window)) return false;
  wchar_t class_name[32] = {};
  GetClassNameW(window, class_name, 32);
  return wcscmp(class_name, kFrameClassName) == 0;
}

}  // namespace

int ClassifyOs(DWORD platform_id, DWORD major_version) {
  switch (platform_id) {
    case VER_PLATFORM_WIN32s:
      return 0;
    case VER_PLATFORM_WIN32_WINDOWS:
      return major_version >= 4 ? 3 : 0;
    case VER_PLATFORM_WIN32_NT:
      if (major_version < 4) return 1;
      return major_version == 4 ? 2 : 5;
    default:
      return 0;
  }
}

int CurrentOsClass() {
  // GetVersionExW reports an old version to programs without a manifest that
  // names newer systems; the kernel's own call tells the truth.
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto rtl_get_version =
      ntdll
          ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
          : nullptr;
  if (!rtl_get_version || rtl_get_version(&info) != 0) {
    info = OSVERSIONINFOW{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return 0;
#pragma GCC diagnostic pop
  }
  return ClassifyOs(info.dwPlatformId, info.dwMajorVersion);
}

int ScreenColourDepth() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return depth;
}

bool ClaimSingleInstance(HANDLE* mutex) {
  *mutex = nullptr;
  // Creating is the test: there is no gap between looking and taking.
  HANDLE handle = CreateMutexW(nullptr, FALSE, kMutexName);
  DWORD error = GetLastError();
  bool other = (handle && error == ERROR_ALREADY_EXISTS) || (!handle && error == ERROR_ACCESS_DENIED);
  if (!other) {
    *mutex = handle;
    return true;
  }
  if (handle) CloseHandle(handle);
  HWND window = ReadPrimaryWindow();
  if (IsFrameWindow(window)) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    PostMessageW(window, kActivateInstanceMessage, 0, 0);
  }
  return false;
}
