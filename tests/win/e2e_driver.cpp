// Drives the running program as a user's system would: finds its windows,
// sends them messages and keys, and checks what they drew, showed and
// saved. One step per run; exit status 0 when the check holds, 1 when not,
// 2 on bad usage, 3 (kTimedOut) when the step did not finish in its bound,
// with the program's windows listed so the log shows what the screen held.
// Texts on the command line may hold "{CR}" and "{LF}" for line breaks.
//
//   wait-frame MS          window of the class with the caption appears, at
//                          its default size, and shows a drawn frame
//   frames                 two captures within 10 s both show a frame and differ
//   count-windows N        exactly N top-level windows of the class exist
//   minimise | check-restored
//   screenshot-key N PNG   F4 writes scr0000N.bmp in the picture folder with
//                          real pixels at the client's size; saved as PNG too
//   resize W H             sets the window's outer size
//   write-maker TEXT       stores the workshop name (for the registry check)
//   screenshot-skip        with a file at the first free number N, F4
//                          writes scrN+1.bmp and leaves scrN.bmp alone
//   screenshot-note        F4 shows a note under the status line, which goes
//                          again by itself
// and those of the preview (e2e_driver_preview.cpp) and of the dialogs
// (e2e_driver_dialogs.cpp).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/registry_settings.h"
#include "tests/win/e2e_support.h"

namespace {

int WaitFrame(int timeout_ms) {
  const DWORD start = GetTickCount();
  HWND window = nullptr;
  const bool drawn = WaitUntil(timeout_ms, 20, [&] {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    window = FindFrame();
    return window && IsWindowVisible(window) && CaptureWindow(window, pixels, w, h) && LitPixels(pixels) > 20;
  });
  if (!window) return Fail(L"no window of class ZEK5RLWCK");
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  if (wcscmp(caption, kCaption) != 0) return Fail(L"caption is not \"無題 - ZEK RAILWICK\"");
  RECT outer;
  GetWindowRect(window, &outer);
  if (outer.right - outer.left != std::min(GetSystemMetrics(SM_CXSCREEN), 1024) ||
      outer.bottom - outer.top != std::min(GetSystemMetrics(SM_CYSCREEN), 768))
    return Fail(L"outer size is not the default size");
  if (!drawn) return Fail(L"no frame drawn in time");
  std::printf("first frame seen after %lu ms of waiting\n",
              static_cast<unsigned long>(GetTickCount() - start));
  return 0;
}

int Frames(HWND window) {
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  // A window just restored may not have drawn its next frame yet: wait for
  // a lit picture first. A window just resized draws again once its device
  // follows, which on a loaded machine can take a few seconds.
  if (!WaitUntil(5000, 100, [&] { return CaptureWindow(window, pixels, w, h) && LitPixels(pixels) != 0; }))
    return Fail(L"a capture is black");
  if (!WaitFrames(window, 1, pixels, w, h)) return Fail(L"the picture did not change in 30 s: no new frames");
  return LitPixels(pixels) != 0 ? 0 : Fail(L"a capture is black");
}

int CountWindows(int expected) {
  int count = 0;
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, kClass, nullptr)) != nullptr) ++count;
  if (count != expected) {
    return Fail(L"%ls",
                std::to_wstring(count) + L" windows of the class, expected " + std::to_wstring(expected));
  }
  return 0;
}

int Minimise(HWND window) {
  ShowWindow(window, SW_MINIMIZE);
  return WaitUntil(2000, 20, [&] { return IsIconic(window) != FALSE; }) ? 0
                                                                        : Fail(L"window did not minimise");
}

int CheckRestored(HWND window) {
  if (!WaitUntil(2000, 20, [&] { return !IsIconic(window); })) return Fail(L"window is still minimised");
  if (!IsWindowVisible(window)) return Fail(L"window is hidden");
  if (GetForegroundWindow() != window) return Fail(L"window is not in front");
  return 0;
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Checks the BMP: a complete 24- or 32-bit image of the client's size with
// pixels that are not all black.
const wchar_t* CheckBitmap(const std::vector<uint8_t>& b, int width, int height) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return L"not a BMP file";
  uint32_t offset = U32At(b, 10);
  int32_t w = static_cast<int32_t>(U32At(b, 18)), h = static_cast<int32_t>(U32At(b, 22));
  int bits = b[28] | (b[29] << 8);
  if (bits != 24 && bits != 32) return L"not a true-colour BMP";
  if (w != width || (h < 0 ? -h : h) != height) return L"BMP size is not the client size";
  size_t stride = ((static_cast<size_t>(w) * bits / 8) + 3) & ~size_t{3};
  if (offset > b.size() || b.size() - offset < stride * (h < 0 ? -h : h)) return L"BMP is truncated";
  size_t lit = 0;
  for (size_t i = offset; i < b.size(); ++i) lit += b[i] != 0;
  if (lit < 20) return L"BMP is black";
  return nullptr;
}

// Lit pixels in the rows under the status line and the line a failed live
// build takes, where the note of a saved screenshot stands; -1 when the
// window cannot be captured.
long NoteBandPixels(HWND window) {
  return BandPixels(window, 32, 50, Lit);
}

// F4: the note naming the saved file shows under the status line, and is
// gone again within a few seconds.
int ScreenshotNote(HWND window) {
  // The note of an earlier F4 goes first.
  if (!WaitUntil(10000, 200, [&] { return NoteBandPixels(window) == 0; }))
    return Fail(L"the rows under the status line are not empty before F4");
  PressKeyOn(window, VK_F4, 300);
  if (!WaitUntil(3000, 100, [&] { return NoteBandPixels(window) > 20; }))
    return Fail(L"no note under the status line after F4");
  if (WaitUntil(10000, 200, [&] { return NoteBandPixels(window) <= 20; })) return 0;
  return Fail(L"the note did not go away");
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int ScreenshotKey(HWND window, int number, const std::wstring& png) {
  const std::wstring folder = PictureFolder();
  if (folder.empty()) return Fail(L"no picture folder");
  const std::wstring bmp = ScreenshotFile(folder, number);
  DeleteFileW(bmp.c_str());
  PressKeyOn(window, VK_F4);
  WaitUntil(3000, 20, [&] { return Exists(bmp); });
  Sleep(300);  // the key stays down: still one file
  PressKey(VK_F4, false);
  Sleep(200);
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(bmp, bytes)) return Fail(L"the screenshot was not written");
  if (Exists(ScreenshotFile(folder, number + 1))) return Fail(L"one key press wrote two files");
  RECT client;
  GetClientRect(window, &client);
  if (const wchar_t* problem = CheckBitmap(bytes, client.right, client.bottom)) return Fail(problem);
  if (!png.empty() && !SaveAsPng(bmp, png)) return Fail(L"could not save the PNG copy");
  return 0;
}

// With a file of someone else's at the first free number N, F4 writes
// scrN+1.bmp as screenshot-key checks it and leaves scrN.bmp alone.
int ScreenshotSkip(HWND window) {
  const std::wstring folder = PictureFolder();
  int number = 0;
  while (!folder.empty() && Exists(ScreenshotFile(folder, number))) ++number;
  const std::wstring taken = ScreenshotFile(folder, number);
  const wchar_t kMark[] = L"an earlier screenshot";
  if (folder.empty() || !WriteUtf8(taken, kMark)) return Fail(L"could not place the earlier file");
  if (const int written = ScreenshotKey(window, number + 1, L"")) return written;
  std::vector<uint8_t> bytes;
  if (ReadFileBytes(taken, bytes) && bytes.size() == wcslen(kMark)) return 0;
  return Fail(L"the earlier file was replaced");
}

int Resize(HWND window, int width, int height) {
  if (!SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER))
    return Fail(L"SetWindowPos");
  RECT outer;
  GetWindowRect(window, &outer);
  if (outer.right - outer.left != width || outer.bottom - outer.top != height) return Fail(L"size not taken");
  Sleep(500);  // the device follows once the size has settled
  return 0;
}

// Line breaks in texts on the command line are written "{CR}" and "{LF}"
// (a backslash sequence would clash with Windows paths).
void Unescape(wchar_t* text) {
  std::wstring plain = text;
  for (size_t at = 0; (at = plain.find(L'{', at)) != std::wstring::npos; ++at)
    if (plain.compare(at, 4, L"{CR}") == 0 || plain.compare(at, 4, L"{LF}") == 0)
      plain.replace(at, 4, plain[at + 1] == L'C' ? L"\r" : L"\n");
  wcscpy(text, plain.c_str());  // never longer
}

// No step takes longer; the watchdog ends a driver that is stuck anyway.
constexpr DWORD kStepDeadlineMs = 80000;

DWORD WINAPI Watchdog(void*) {
  Sleep(kStepDeadlineMs);
  TimedOut(L"the step did not finish in %ls s", std::to_wstring(kStepDeadlineMs / 1000));
  std::fflush(stderr);
  ExitProcess(kTimedOut);
}

// The step named on the command line, with its arguments; 2 when there is
// no such step or it takes another number of arguments.
int RunStep(int argc, wchar_t** argv) {
  const int count = argc - 2;
  for (const std::vector<Step>* table : {&kFrameSteps, &kPreviewSteps, &kDialogSteps}) {
    for (const Step& step : *table) {
      if (wcscmp(step.name, argv[1]) != 0 || count < step.least || count > step.most) continue;
      Call call{nullptr, nullptr, count, argv + 2};
      if (const int missing = FindTarget(step.on, call)) return missing;
      return step.run(call);
    }
  }
  return 2;
}

}  // namespace

const std::vector<Step> kFrameSteps = {
    {L"wait-frame", 1, 1, On::kNothing, [](const Call& c) { return WaitFrame(c.Number(0)); }},
    {L"frames", 0, 0, On::kFrame, [](const Call& c) { return Frames(c.window); }},
    {L"count-windows", 1, 1, On::kNothing, [](const Call& c) { return CountWindows(c.Number(0)); }},
    {L"minimise", 0, 0, On::kFrame, [](const Call& c) { return Minimise(c.window); }},
    {L"check-restored", 0, 0, On::kFrame, [](const Call& c) { return CheckRestored(c.window); }},
    {L"screenshot-key", 2, 2, On::kFrame,
     [](const Call& c) { return ScreenshotKey(c.window, c.Number(0), c.args[1]); }},
    {L"resize", 2, 2, On::kFrame, [](const Call& c) { return Resize(c.window, c.Number(0), c.Number(1)); }},
    {L"write-maker", 1, 1, On::kNothing,
     [](const Call& c) { return WriteWorkshopName(c.args[0]) == 1 ? 0 : 1; }},
    {L"screenshot-skip", 0, 0, On::kFrame, [](const Call& c) { return ScreenshotSkip(c.window); }},
    {L"screenshot-note", 0, 0, On::kFrame, [](const Call& c) { return ScreenshotNote(c.window); }},
};

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  for (int i = 2; i < argc; ++i) Unescape(argv[i]);
  CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
  const int result = RunStep(argc, argv);
  if (SendGaveUp() && result != kTimedOut)
    return TimedOut(L"the program did not answer a message in %ls s", L"3");
  return result;
}
