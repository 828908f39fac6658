// The driver's steps on the vehicle preview and the live preview:
//
//   capture PNG            the client area once two more frames are drawn
//   key K                  a key press sent to the window, once it has run:
//                          a character (a preview key) or a virtual key
//                          number (F5 is 116)
//   drag DX DY [ctrl|shift]  a left-button drag from the centre
//   esc-after-dialog       Esc closes the environment dialog and stays down:
//                          the program keeps running; a fresh Esc closes it
//   screenshot-failure     F4 with no picture folder to save into is reported
//   failure-line on|off MS within MS, the line of a failed live build under
//                          the status line is drawn (on) or gone (off)
//   live-latency FILE      writes FILE again with its own bytes and prints
//                          how long until the program has made a live build
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/win/e2e_support.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr UINT kEnvironmentCommand = 32779;

// The client area once two more frames have been drawn since the command
// before (the first frame of a new vehicle can take a while under Wine).
int Capture(HWND frame, const std::wstring& png) {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (!WaitFrames(frame, 2, pixels, width, height)) return Fail(L"no new frames");
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
int Key(HWND frame, UINT key) {
  PostMessageW(frame, WM_KEYDOWN, key, 1);
  PostMessageW(frame, WM_KEYUP, key, 0xC0000001);
  return Settled(frame);
}

int Drag(HWND frame, int dx, int dy, const std::wstring& modifier) {
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

int EscAfterDialog(HWND frame) {
  PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kEnvironmentCommand, 0), 0);
  HWND dialog = nullptr;
  if (!WaitUntil(10000, 20, [&] { return (dialog = FindWindowW(kDialogClass, L"環境設定")) != nullptr; }))
    return TimedOut(L"no environment dialog%ls");
  PressKeyOn(dialog, VK_ESCAPE);
  const bool closed = WaitUntil(5000, 20, [&] { return !IsWindow(dialog); });
  Sleep(1000);  // the frame is active again with Esc still down
  const bool survived = IsWindow(frame) != FALSE;
  PressKey(VK_ESCAPE, false);
  if (!closed) return Fail(L"Esc did not close the dialog");
  if (!survived) return Fail(L"the held Esc closed the program");
  Sleep(300);
  PressKeyOn(frame, VK_ESCAPE, 600);  // the window looks at the key once a frame
  if (WaitUntil(5000, 20, [&] { return !IsWindow(frame); })) return 0;
  return Fail(L"a fresh Esc did not close the program");
}

// With the picture folder not a folder, F4 cannot save: the user is told.
int ScreenshotFailure(HWND frame) {
  const std::wstring folder = PictureFolder();
  const std::wstring away = folder + L".away";
  if (folder.empty() || !MoveFileW(folder.c_str(), away.c_str()))
    return Fail(L"could not move the picture folder away");
  WriteUtf8(folder, L"");  // a file where the folder was
  // Held until the report comes (the window looks at the key once a frame),
  // and let go before the report is closed, so one press is one report.
  PressKeyOn(frame, VK_F4);
  HWND box = nullptr;
  WaitUntil(10000, 50, [&] { return (box = FindWindowW(kDialogClass, L"Railwick")) != nullptr; });
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

// Red text of the line under the status line.
bool Red(uint32_t pixel) {
  const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return r > 160 && g < r - 60 && b < r - 60;
}

int FailureLine(HWND frame, bool on, int timeout_ms) {
  long red = 0;
  const DWORD start = GetTickCount();
  const bool seen = WaitUntil(timeout_ms, 100,
                              [&] { return (red = BandPixels(frame, 16, 30, Red)) < 0 || (red > 20) == on; });
  if (red < 0) return Fail(L"capture failed");
  if (!seen) return Fail(on ? L"no failure line under the status line" : L"the failure line stays");
  std::printf("failure line %s after %lu ms (%ld red pixels)\n", on ? "drawn" : "gone",
              static_cast<unsigned long>(GetTickCount() - start), red);
  return 0;
}

// The program's count of live builds, asked by its registered message.
bool LiveBuilds(HWND frame, DWORD_PTR& count) {
  static const UINT message = RegisterWindowMessageW(L"RailwickLiveBuilds");
  return SendMessageTimeoutW(frame, message, 0, 0, SMTO_NORMAL, 5000, &count) != 0;
}

int LiveLatency(HWND frame, const std::wstring& file) {
  DWORD_PTR before = 0, now = 0;
  if (!LiveBuilds(frame, before)) return Fail(L"the program does not answer");
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(file, bytes) || !WriteBytes(file, bytes.data(), bytes.size()))
    return Fail(L"could not write the file again");
  const DWORD start = GetTickCount();
  bool answered = true;
  const bool built =
      WaitUntil(10000, 5, [&] { return !(answered = LiveBuilds(frame, now)) || now != before; });
  if (!answered) return Fail(L"the program does not answer");
  if (!built) return Fail(L"no live build within 10 s of the save");
  std::printf("live build %lu ms after the save\n", static_cast<unsigned long>(GetTickCount() - start));
  return 0;
}

}  // namespace

const std::vector<Step> kPreviewSteps = {
    {L"capture", 1, 1, On::kFrame, [](const Call& c) { return Capture(c.window, c.args[0]); }},
    {L"key", 1, 1, On::kFrame,
     [](const Call& c) { return Key(c.window, c.args[0][1] ? c.Number(0) : c.args[0][0]); }},
    {L"drag", 2, 3, On::kFrame,
     [](const Call& c) { return Drag(c.window, c.Number(0), c.Number(1), c.count > 2 ? c.args[2] : L""); }},
    {L"esc-after-dialog", 0, 0, On::kFrame, [](const Call& c) { return EscAfterDialog(c.window); }},
    {L"screenshot-failure", 0, 0, On::kFrame, [](const Call& c) { return ScreenshotFailure(c.window); }},
    {L"failure-line", 2, 2, On::kFrame,
     [](const Call& c) { return FailureLine(c.window, !wcscmp(c.args[0], L"on"), c.Number(1)); }},
    {L"live-latency", 1, 1, On::kFrame, [](const Call& c) { return LiveLatency(c.window, c.args[0]); }},
};
