#include "tests/win/e2e_support.h"

#include <windows.h>
// clang-format off
#include <objidl.h>
#include <gdiplus.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <utility>

#include "platform/fs.h"

namespace {

// A message to a program that has stopped answering gives up after this.
constexpr DWORD kSendMs = 3000;
bool g_send_gave_up = false;

// GDI+'s PNG encoder.
constexpr CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

// The bitmap `make` gives, saved as PNG with GDI+ started.
template <typename Make>
bool SavePng(Make make, const std::wstring& png) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  const bool ok = make()->Save(png.c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
  Gdiplus::GdiplusShutdown(token);
  return ok;
}

}  // namespace

std::string Utf8(const std::wstring& text) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

int Fail(const wchar_t* format, const std::wstring& detail) {
  std::vector<wchar_t> text(4096);
  _snwprintf(text.data(), text.size() - 1, format, detail.c_str());
  std::fprintf(stderr, "driver: %s\n", Utf8(text.data()).c_str());
  return 1;
}

HWND FindFrame() {
  return FindWindowW(kClass, nullptr);
}

DWORD ProgramProcess() {
  DWORD pid = 0;
  if (HWND frame = FindFrame()) GetWindowThreadProcessId(frame, &pid);
  return pid;
}

std::vector<HWND> TopWindows(DWORD pid) {
  std::pair<DWORD, std::vector<HWND>> found{pid, {}};
  auto add = [](HWND window, LPARAM lparam) -> BOOL {
    auto& [wanted, windows] = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (wanted ? owner == wanted : owner != GetCurrentProcessId()) windows.push_back(window);
    return TRUE;
  };
  EnumWindows(add, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

int TimedOut(const wchar_t* format, const std::wstring& detail) {
  Fail(format, detail);
  const DWORD pid = ProgramProcess();
  Fail(pid ? L"the program's windows:%ls" : L"no main window%ls");
  for (HWND window : pid ? TopWindows(pid) : std::vector<HWND>()) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    std::wstring line = L"  " + std::to_wstring(reinterpret_cast<UINT_PTR>(window)) + L" " + name + L" \"" +
                        WindowText(window) + L"\"" + (IsWindowVisible(window) ? L" visible" : L" hidden") +
                        (IsWindowEnabled(window) ? L" enabled" : L" disabled");
    if (HWND owner = GetWindow(window, GW_OWNER)) line += L" owner " + std::to_wstring(reinterpret_cast<UINT_PTR>(owner));
    if (window == GetForegroundWindow()) line += L" foreground";
    Fail(L"%ls", line);
  }
  return kTimedOut;
}

LRESULT Ask(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendMs, &result)) {
    // A window that has just gone gives 0 too, and is no fault.
    if (GetLastError() != ERROR_INVALID_WINDOW_HANDLE && IsWindow(window)) g_send_gave_up = true;
    return 0;
  }
  // Answered: the program was only busy for a while (a live build after a
  // save, a slow machine), not hung.
  g_send_gave_up = false;
  return static_cast<LRESULT>(result);
}

bool SendGaveUp() {
  return g_send_gave_up;
}

std::wstring WindowText(HWND window) {
  const LRESULT length = Ask(window, WM_GETTEXTLENGTH);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const LRESULT got = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool CaptureWindow(HWND window, std::vector<uint32_t>& pixels, int& width, int& height, bool outer) {
  RECT rect;
  if (!(outer ? GetWindowRect(window, &rect) : GetClientRect(window, &rect))) return false;
  width = rect.right - rect.left;
  height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HWND source = outer ? nullptr : window;  // the screen shows the frame
  HDC dc = GetDC(source);
  HDC memory = CreateCompatibleDC(dc);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = bitmap != nullptr;
  if (ok) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, width, height, dc, outer ? rect.left : 0, outer ? rect.top : 0, SRCCOPY) != 0;
    SelectObject(memory, old);
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    pixels.assign(p, p + static_cast<size_t>(width) * height);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(source, dc);
  return ok;
}

bool WaitFrames(HWND window, int frames, std::vector<uint32_t>& pixels, int& width, int& height) {
  std::vector<uint32_t> before;
  if (!CaptureWindow(window, before, width, height)) return false;
  bool captured = true;
  const bool drawn = WaitUntil(30000, 100, [&] {
    if (!(captured = CaptureWindow(window, pixels, width, height))) return true;
    const size_t status = std::min(before.size(), std::min(pixels.size(), 14 * static_cast<size_t>(width)));
    if (before.size() != pixels.size() || !std::equal(before.begin(), before.begin() + status, pixels.begin())) {
      --frames;
      before = pixels;
    }
    return frames <= 0;
  });
  return captured && drawn;
}

long BandPixels(HWND window, int top, int bottom, bool (*counts)(uint32_t pixel)) {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (!CaptureWindow(window, pixels, width, height) || height < bottom) return -1;
  long counted = 0;
  for (size_t i = static_cast<size_t>(top) * width; i < static_cast<size_t>(bottom) * width; ++i)
    counted += counts(pixels[i]);
  return counted;
}

size_t LitPixels(const std::vector<uint32_t>& pixels) {
  return static_cast<size_t>(std::count_if(pixels.begin(), pixels.end(), Lit));
}

void PressKey(WORD key, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(input));
}

void PressKeyOn(HWND window, WORD key, DWORD hold_ms) {
  SetForegroundWindow(window);
  Sleep(200);
  PressKey(key, true);
  if (hold_ms == INFINITE) return;
  Sleep(hold_ms);
  PressKey(key, false);
}

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes) {
  return FsReadFile(std::u16string(path.begin(), path.end()), bytes);
}

bool SaveAsPng(const std::wstring& image, const std::wstring& png) {
  return SavePng([&] { return std::make_unique<Gdiplus::Bitmap>(image.c_str()); }, png);
}

bool SavePixelsAsPng(const std::vector<uint32_t>& pixels, int width, int height, const std::wstring& png) {
  auto bitmap = [&] {
    return std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppRGB,
                                             reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.data())));
  };
  return SavePng(bitmap, png);
}

bool WriteBytes(const std::wstring& path, const void* bytes, size_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
  return CloseHandle(file) && ok;
}

bool WriteUtf8(const std::wstring& path, const std::wstring& text) {
  const std::string bytes = Utf8(text);
  return WriteBytes(path, bytes.data(), bytes.size());
}

std::wstring PictureFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_MYPICTURES, FALSE) &&
      !SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE))
    return L"";
  return folder;
}

std::wstring ScreenshotFile(const std::wstring& folder, int number) {
  wchar_t name[32];
  swprintf(name, 32, L"\\scr%05d.bmp", number);
  return folder + name;
}
