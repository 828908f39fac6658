// The driver's steps on the vehicle preview and the live preview:
//
//   capture PNG            the client area once two more frames are drawn
//   key K                  a key press sent to the window, once it has run:
//                          a character (a preview key) or a virtual key
//                          number (F5 is 116)
//   drag DX DY [ctrl|shift]  a left-button drag from the centre
//   esc-after-dialog       Esc closes the environment dialog and stays down:
//                          the program keeps running; a fresh Esc closes it
//   screenshot-skip        with a file at the first free number N, F4
//                          writes scrN+1.bmp and leaves scrN.bmp alone
//   screenshot-failure     F4 with no picture folder to save into is reported
//   failure-line on|off MS within MS, the line of a failed live build under
//                          the status line is drawn (on) or gone (off)
//   live-latency FILE      writes FILE again with its own bytes and prints
//                          how long until the program has made a live build
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/win/e2e_support.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr UINT kEnvironmentCommand = 32779;

// The status line in the top rows changes with every frame drawn.
bool StatusLineChanged(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width) {
  const size_t rows = 14;
  const size_t count = std::min(a.size(), std::min(b.size(), rows * static_cast<size_t>(width)));
  return a.size() != b.size() || !std::equal(a.begin(), a.begin() + count, b.begin());
}

// The client area once two more frames have been drawn since the command
// before (the first frame of a new vehicle can take a while under Wine).
int Capture(const std::wstring& png) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail(L"no window");
  std::vector<uint32_t> before, pixels;
  int width = 0, height = 0;
  if (!CaptureClient(frame, before, width, height)) return Fail(L"capture failed");
  int frames = 0;
  for (int waited = 0; frames < 2; waited += 100) {
    if (waited > 30000) return Fail(L"no new frames");
    Sleep(100);
    if (!CaptureClient(frame, pixels, width, height)) return Fail(L"capture failed");
    if (StatusLineChanged(before, pixels, width)) {
      ++frames;
      before = pixels;
    }
  }
  return SavePixelsAsPng(pixels, width, height, png) ? 0 : Fail(L"could not save the PNG");
}

// Returns once the window has handled what was posted to it before: a sent
// message is handled ahead of posted ones, so the first send only gets
// through the queue and the second waits for what was posted behind it.
int Settled(HWND frame) {
  DWORD_PTR ignored = 0;
  for (int send = 0; send < 2; ++send)
    if (!SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored))
      return Fail(L"what was posted was not handled in time");
  return 0;
}

// Posted behind whatever was posted before (a drop, say).
int Key(UINT key) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail(L"no window");
  PostMessageW(frame, WM_KEYDOWN, key, 1);
  PostMessageW(frame, WM_KEYUP, key, 0xC0000001);
  return Settled(frame);
}

int Drag(int dx, int dy, const std::wstring& modifier) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail(L"no window");
  RECT client;
  GetClientRect(frame, &client);
  const int x = client.right / 2, y = client.bottom / 2;
  WPARAM keys = MK_LBUTTON;
  if (modifier == L"ctrl") keys |= MK_CONTROL;
  if (modifier == L"shift") keys |= MK_SHIFT;
  PostMessageW(frame, WM_LBUTTONDOWN, keys, MAKELPARAM(x, y));
  for (int step = 1; step <= 10; ++step)
    PostMessageW(frame, WM_MOUSEMOVE, keys, MAKELPARAM(x + dx * step / 10, y + dy * step / 10));
  PostMessageW(frame, WM_LBUTTONUP, keys & ~static_cast<WPARAM>(MK_LBUTTON), MAKELPARAM(x + dx, y + dy));
  return Settled(frame);
}

int EscAfterDialog() {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail(L"no window");
  PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kEnvironmentCommand, 0), 0);
  HWND dialog = nullptr;
  for (int waited = 0; waited < 10000 && !(dialog = FindWindowW(kDialogClass, L"環境設定")); waited += 20) Sleep(20);
  if (dialog == nullptr) return TimedOut(L"no environment dialog%ls");
  SetForegroundWindow(dialog);
  Sleep(200);
  PressKey(VK_ESCAPE, true);
  for (int waited = 0; waited < 5000 && IsWindow(dialog); waited += 20) Sleep(20);
  const bool closed = !IsWindow(dialog);
  Sleep(1000);  // the frame is active again with Esc still down
  const bool survived = IsWindow(frame) != FALSE;
  PressKey(VK_ESCAPE, false);
  if (!closed) return Fail(L"Esc did not close the dialog");
  if (!survived) return Fail(L"the held Esc closed the program");
  Sleep(300);
  SetForegroundWindow(frame);
  Sleep(300);
  PressKey(VK_ESCAPE, true);
  Sleep(600);  // the window looks at the key once a frame
  PressKey(VK_ESCAPE, false);
  for (int i = 0; i < 250 && IsWindow(frame); ++i) Sleep(20);
  return IsWindow(frame) ? Fail(L"a fresh Esc did not close the program") : 0;
}

int ScreenshotSkip() {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail(L"no window");
  const std::wstring folder = PictureFolder();
  if (folder.empty()) return Fail(L"no picture folder");
  // The first free number gets a file of someone else's; the key must skip it.
  int number = 0;
  while (GetFileAttributesW(ScreenshotFile(folder, number).c_str()) != INVALID_FILE_ATTRIBUTES) ++number;
  const std::wstring taken = ScreenshotFile(folder, number);
  const std::wstring next = ScreenshotFile(folder, number + 1);
  DeleteFileW(next.c_str());
  const char kMark[] = "an earlier screenshot";
  HANDLE file = CreateFileW(taken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Fail(L"could not place the earlier file");
  DWORD written = 0;
  WriteFile(file, kMark, sizeof(kMark), &written, nullptr);
  CloseHandle(file);

  SetForegroundWindow(frame);
  Sleep(200);
  PressKey(VK_F4, true);
  for (int i = 0; i < 150 && GetFileAttributesW(next.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
  PressKey(VK_F4, false);
  Sleep(200);
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(taken, bytes) || bytes.size() != sizeof(kMark))
    return Fail(L"the earlier file was replaced");
  if (!ReadFileBytes(next, bytes) || bytes.size() < 54 || bytes[0] != 'B') return Fail(L"no new screenshot");
  return 0;
}

// With the picture folder not a folder, F4 cannot save: the user is told.
int ScreenshotFailure() {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail(L"no window");
  const std::wstring folder = PictureFolder();
  const std::wstring away = folder + L".away";
  if (folder.empty() || !MoveFileW(folder.c_str(), away.c_str())) return Fail(L"could not move the picture folder away");
  HANDLE blocker = CreateFileW(folder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (blocker != INVALID_HANDLE_VALUE) CloseHandle(blocker);
  SetForegroundWindow(frame);
  Sleep(200);
  // Held until the report comes (the window looks at the key once a frame),
  // and let go before the report is closed, so one press is one report.
  PressKey(VK_F4, true);
  HWND box = nullptr;
  for (int waited = 0; waited < 10000 && box == nullptr; waited += 50) {
    Sleep(50);
    box = FindWindowW(kDialogClass, L"Railwick");
  }
  PressKey(VK_F4, false);
  const std::wstring text = box ? WindowText(GetDlgItem(box, 0xFFFF)) : L"";  // the message's static
  if (box) PressButton(box, IDOK);
  Sleep(300);
  DeleteFileW(folder.c_str());
  MoveFileW(away.c_str(), folder.c_str());
  if (box == nullptr) return Fail(L"a failed screenshot was not reported");
  if (text.rfind(L"スクリーンショットを保存できませんでした。", 0) == 0) return 0;
  return Fail(L"not the screenshot message: %ls", text);
}

// Red text under the status line: rows 16 to 30 of the client area.
size_t FailureLinePixels(const std::vector<uint32_t>& pixels, int width) {
  size_t red = 0;
  for (size_t i = 16 * static_cast<size_t>(width); i < 30 * static_cast<size_t>(width) && i < pixels.size();
       ++i) {
    const uint32_t r = (pixels[i] >> 16) & 0xFF, g = (pixels[i] >> 8) & 0xFF, b = pixels[i] & 0xFF;
    red += r > 160 && g < r - 60 && b < r - 60;
  }
  return red;
}

int FailureLine(bool on, int timeout_ms) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail(L"no window");
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  for (int waited = 0; waited <= timeout_ms; waited += 100) {
    if (!CaptureClient(frame, pixels, width, height)) return Fail(L"capture failed");
    const size_t red = FailureLinePixels(pixels, width);
    if ((red > 20) == on) {
      std::printf("failure line %s after %d ms (%zu red pixels)\n", on ? "drawn" : "gone", waited, red);
      return 0;
    }
    Sleep(100);
  }
  return Fail(on ? L"no failure line under the status line" : L"the failure line stays");
}

// The program's count of live builds, asked by its registered message.
bool LiveBuilds(HWND frame, DWORD_PTR& count) {
  static const UINT message = RegisterWindowMessageW(L"RailwickLiveBuilds");
  return SendMessageTimeoutW(frame, message, 0, 0, SMTO_NORMAL, 5000, &count) != 0;
}

bool RewriteFile(const std::wstring& file) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(file, bytes)) return false;
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  const bool written = WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
  return CloseHandle(out) && written;
}

int LiveLatency(const std::wstring& file) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail(L"no window");
  DWORD_PTR before = 0, now = 0;
  if (!LiveBuilds(frame, before)) return Fail(L"the program does not answer");
  if (!RewriteFile(file)) return Fail(L"could not write the file again");
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited < 10000; waited = GetTickCount() - start) {
    if (!LiveBuilds(frame, now)) return Fail(L"the program does not answer");
    if (now != before) {
      std::printf("live build %lu ms after the save\n", static_cast<unsigned long>(GetTickCount() - start));
      return 0;
    }
    Sleep(5);
  }
  return Fail(L"no live build within 10 s of the save");
}

}  // namespace

int RunPreviewStep(int argc, wchar_t** argv) {
  const std::wstring command = argv[1];
  if (command == L"capture" && argc == 3) return Capture(argv[2]);
  if (command == L"key" && argc == 3) return Key(argv[2][1] == 0 ? argv[2][0] : static_cast<UINT>(_wtoi(argv[2])));
  if (command == L"drag" && argc >= 4) return Drag(_wtoi(argv[2]), _wtoi(argv[3]), argc > 4 ? argv[4] : L"");
  if (command == L"esc-after-dialog") return EscAfterDialog();
  if (command == L"screenshot-skip") return ScreenshotSkip();
  if (command == L"screenshot-failure") return ScreenshotFailure();
  if (command == L"failure-line" && argc == 4) return FailureLine(std::wstring(argv[2]) == L"on", _wtoi(argv[3]));
  if (command == L"live-latency" && argc == 3) return LiveLatency(argv[2]);
  return 2;
}
