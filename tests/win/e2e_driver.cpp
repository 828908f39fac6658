// Drives the running program as a user's system would: finds its window,
// sends it messages and keys, and checks what it drew and saved. One command
// per run; exit code 0 when the check holds, 1 when not, 2 on bad usage.
//
//   wait-frame MS          window of the class with the caption appears, at
//                          its default size, and shows a drawn frame
//   frames                 two captures a second apart both show a frame and differ
//   count-windows N        exactly N top-level windows of the class exist
//   minimise | check-restored
//   screenshot-key N PNG   F4 writes scr0000N.bmp in the picture folder with
//                          real pixels at the client's size; saved as PNG too
//   resize W H             sets the window's outer size
//   write-maker TEXT       stores the workshop name (for the registry check)
//   exit-command           menu command Exit (105)
#include <windows.h>
// clang-format off
#include <objidl.h>
#include <gdiplus.h>
#include <shlobj.h>
// clang-format on

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/registry_settings.h"

namespace {

constexpr wchar_t kClass[] = L"ZEK5RLWCK";
constexpr wchar_t kCaption[] = L"ZEK RAILWICK";

int Fail(const char* what) {
  std::fprintf(stderr, "driver: %s\n", what);
  return 1;
}

HWND FindFrame() {
  return FindWindowW(kClass, nullptr);
}

// The client area as 32-bit BGRX rows, read from the window's device context.
bool CaptureClient(HWND window, std::vector<uint32_t>& pixels, int& width, int& height) {
  RECT client;
  if (!GetClientRect(window, &client)) return false;
  width = client.right;
  height = client.bottom;
  if (width <= 0 || height <= 0) return false;
  HDC dc = GetDC(window);
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
    ok = BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY) != 0;
    SelectObject(memory, old);
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    pixels.assign(p, p + static_cast<size_t>(width) * height);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return ok;
}

size_t LitPixels(const std::vector<uint32_t>& pixels) {
  size_t lit = 0;
  for (uint32_t p : pixels) lit += (p & 0xFFFFFF) != 0;
  return lit;
}

int WaitFrame(int timeout_ms) {
  DWORD start = GetTickCount();
  HWND window = nullptr;
  while (static_cast<int>(GetTickCount() - start) < timeout_ms) {
    window = FindFrame();
    if (window && IsWindowVisible(window)) {
      std::vector<uint32_t> pixels;
      int w = 0, h = 0;
      if (CaptureClient(window, pixels, w, h) && LitPixels(pixels) > 20) break;
    }
    Sleep(20);
  }
  if (!window) return Fail("no window of class ZEK5RLWCK");
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  if (wcscmp(caption, kCaption) != 0) return Fail("caption is not \"ZEK RAILWICK\"");
  RECT outer;
  GetWindowRect(window, &outer);
  int expect_w = GetSystemMetrics(SM_CXSCREEN) < 1024 ? GetSystemMetrics(SM_CXSCREEN) : 1024;
  int expect_h = GetSystemMetrics(SM_CYSCREEN) < 768 ? GetSystemMetrics(SM_CYSCREEN) : 768;
  if (outer.right - outer.left != expect_w || outer.bottom - outer.top != expect_h) {
    return Fail("outer size is not the default size");
  }
  if (static_cast<int>(GetTickCount() - start) >= timeout_ms) return Fail("no frame drawn in time");
  std::printf("first frame seen after %lu ms of waiting\n",
              static_cast<unsigned long>(GetTickCount() - start));
  return 0;
}

int Frames() {
  HWND window = FindFrame();
  if (!window) return Fail("no window");
  std::vector<uint32_t> a, b;
  int w = 0, h = 0;
  if (!CaptureClient(window, a, w, h)) return Fail("capture failed");
  Sleep(1200);
  if (!CaptureClient(window, b, w, h)) return Fail("capture failed");
  if (LitPixels(a) == 0 || LitPixels(b) == 0) return Fail("a capture is black");
  if (a == b) return Fail("the picture did not change: no new frames");
  return 0;
}

int CountWindows(int expected) {
  int count = 0;
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, kClass, nullptr)) != nullptr) ++count;
  if (count != expected) {
    std::fprintf(stderr, "driver: %d windows of the class, expected %d\n", count, expected);
    return 1;
  }
  return 0;
}

int Minimise() {
  HWND window = FindFrame();
  if (!window) return Fail("no window");
  ShowWindow(window, SW_MINIMIZE);
  for (int i = 0; i < 100 && !IsIconic(window); ++i) Sleep(20);
  return IsIconic(window) ? 0 : Fail("window did not minimise");
}

int CheckRestored() {
  HWND window = FindFrame();
  if (!window) return Fail("no window");
  for (int i = 0; i < 100 && IsIconic(window); ++i) Sleep(20);
  if (IsIconic(window)) return Fail("window is still minimised");
  if (!IsWindowVisible(window)) return Fail("window is hidden");
  if (GetForegroundWindow() != window) return Fail("window is not in front");
  return 0;
}

void PressKey(WORD key, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(input));
}

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (64 << 20);
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
         read == bytes.size();
  }
  CloseHandle(file);
  return ok;
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Checks the BMP: a complete 24- or 32-bit image of the client's size with
// pixels that are not all black.
const char* CheckBitmap(const std::vector<uint8_t>& b, int width, int height) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return "not a BMP file";
  uint32_t offset = U32At(b, 10);
  int32_t w = static_cast<int32_t>(U32At(b, 18)), h = static_cast<int32_t>(U32At(b, 22));
  int bits = b[28] | (b[29] << 8);
  if (bits != 24 && bits != 32) return "not a true-colour BMP";
  if (w != width || (h < 0 ? -h : h) != height) return "BMP size is not the client size";
  size_t stride = ((static_cast<size_t>(w) * bits / 8) + 3) & ~size_t{3};
  if (offset > b.size() || b.size() - offset < stride * (h < 0 ? -h : h)) return "BMP is truncated";
  size_t lit = 0;
  for (size_t i = offset; i < b.size(); ++i) lit += b[i] != 0;
  if (lit < 20) return "BMP is black";
  return nullptr;
}

bool SaveAsPng(const std::wstring& bmp, const std::wstring& png) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  bool ok = false;
  {
    Gdiplus::Bitmap image(bmp.c_str());
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<uint8_t> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size && Gdiplus::GetImageEncoders(count, size, encoders) == Gdiplus::Ok) {
      for (UINT i = 0; i < count; ++i) {
        if (wcscmp(encoders[i].MimeType, L"image/png") == 0) {
          ok = image.Save(png.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
        }
      }
    }
  }
  Gdiplus::GdiplusShutdown(token);
  return ok;
}

int ScreenshotKey(int number, const std::wstring& png) {
  HWND window = FindFrame();
  if (!window) return Fail("no window");
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_MYPICTURES, FALSE) &&
      !SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE)) {
    return Fail("no picture folder");
  }
  wchar_t name[32];
  swprintf(name, 32, L"\\scr%05d.bmp", number);
  std::wstring bmp = std::wstring(folder) + name;
  DeleteFileW(bmp.c_str());
  SetForegroundWindow(window);
  Sleep(200);
  PressKey(VK_F4, true);
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 150 && GetFileAttributesW(bmp.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
  Sleep(300);  // the key stays down: still one file
  PressKey(VK_F4, false);
  Sleep(200);
  if (!ReadFileBytes(bmp, bytes)) return Fail("the screenshot was not written");
  swprintf(name, 32, L"\\scr%05d.bmp", number + 1);
  std::wstring second = std::wstring(folder) + name;
  if (GetFileAttributesW(second.c_str()) != INVALID_FILE_ATTRIBUTES)
    return Fail("one key press wrote two files");
  RECT client;
  GetClientRect(window, &client);
  if (const char* problem = CheckBitmap(bytes, client.right, client.bottom)) return Fail(problem);
  if (!SaveAsPng(bmp, png)) return Fail("could not save the PNG copy");
  return 0;
}

int Resize(int width, int height) {
  HWND window = FindFrame();
  if (!window) return Fail("no window");
  if (!SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER))
    return Fail("SetWindowPos");
  RECT outer;
  GetWindowRect(window, &outer);
  if (outer.right - outer.left != width || outer.bottom - outer.top != height) return Fail("size not taken");
  Sleep(500);  // the device follows once the size has settled
  return 0;
}

int ExitCommand() {
  HWND window = FindFrame();
  if (!window) return Fail("no window");
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(105, 0), 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring command = argv[1];
  if (command == L"wait-frame" && argc == 3) return WaitFrame(_wtoi(argv[2]));
  if (command == L"frames") return Frames();
  if (command == L"count-windows" && argc == 3) return CountWindows(_wtoi(argv[2]));
  if (command == L"minimise") return Minimise();
  if (command == L"check-restored") return CheckRestored();
  if (command == L"screenshot-key" && argc == 4) return ScreenshotKey(_wtoi(argv[2]), argv[3]);
  if (command == L"resize" && argc == 4) return Resize(_wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"write-maker" && argc == 3) return WriteWorkshopName(argv[2]) == 1 ? 0 : 1;
  if (command == L"exit-command") return ExitCommand();
  return 2;
}
