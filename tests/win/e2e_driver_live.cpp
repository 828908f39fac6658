// The driver's commands for the live preview:
//
//   command ID             posts menu command ID and waits until it has run
//   vkey N                 a press of virtual key N (F5 is 116), once it has run
//   failure-line on|off MS within MS, the line of a failed live build under
//                          the status line is drawn (on) or gone (off)
//   live-report FILE       menu レポート: the report's text written to FILE
//                          (UTF-8), then the report is closed
//   live-latency FILE      writes FILE again with its own bytes and prints
//                          how long until the program has made a live build
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/win/e2e_support.h"

namespace {

constexpr int kReportTextControl = 1000;
constexpr UINT kLiveReportCommand = 32902;

// Sent, not posted: returns once the window has run it, bounded.
bool RunCommand(HWND frame, UINT id) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, 30000, &ignored) != 0;
}

int Command(UINT id) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  return RunCommand(frame, id) ? 0 : Fail("the command did not finish");
}

// Posted behind whatever was posted before (a drop, say); returns once it
// has run: a sent message is handled ahead of posted ones, so the second
// send waits for the key.
int VirtualKey(UINT key) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  PostMessageW(frame, WM_KEYDOWN, key, 1);
  PostMessageW(frame, WM_KEYUP, key, 0xC0000001);
  DWORD_PTR ignored = 0;
  for (int send = 0; send < 2; ++send)
    if (!SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored))
      return Fail("the key was not handled in time");
  return 0;
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
  if (frame == nullptr) return Fail("no window");
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  for (int waited = 0; waited <= timeout_ms; waited += 100) {
    if (!CaptureClient(frame, pixels, width, height)) return Fail("capture failed");
    const size_t red = FailureLinePixels(pixels, width);
    if ((red > 20) == on) {
      std::printf("failure line %s after %d ms (%zu red pixels)\n", on ? "drawn" : "gone", waited, red);
      return 0;
    }
    Sleep(100);
  }
  return Fail(on ? "no failure line under the status line" : "the failure line stays");
}

struct FoundReport {
  HWND frame;
  HWND dialog = nullptr;
};

// The report: a dialog of the frame's with the text box 1000, whatever its caption.
BOOL CALLBACK FindReport(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<FoundReport*>(data);
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (wcscmp(name, L"#32770") == 0 && GetWindow(window, GW_OWNER) == found->frame &&
      IsWindowVisible(window) && GetDlgItem(window, kReportTextControl) != nullptr) {
    found->dialog = window;
    return FALSE;
  }
  return TRUE;
}

int LiveReport(const std::wstring& file) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kLiveReportCommand, 0), 0);
  FoundReport found{frame};
  for (int waited = 0; waited < 30000 && found.dialog == nullptr; waited += 50) {
    Sleep(50);
    EnumWindows(FindReport, reinterpret_cast<LPARAM>(&found));
  }
  if (found.dialog == nullptr) return Fail("no report");
  const std::wstring text = TextOf(GetDlgItem(found.dialog, kReportTextControl));
  PostMessageW(found.dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  if (!WriteUtf8(file, text)) return Fail("could not write the report text");
  for (int waited = 0; waited < 5000 && IsWindow(found.dialog); waited += 50) Sleep(50);
  return IsWindow(found.dialog) ? Fail("OK did not close the report") : 0;
}

// The program's count of live builds, asked by its registered message.
bool LiveBuilds(HWND frame, DWORD_PTR& count) {
  static const UINT message = RegisterWindowMessageW(L"RailwickLiveBuilds");
  return SendMessageTimeoutW(frame, message, 0, 0, SMTO_NORMAL, 5000, &count) != 0;
}

bool RewriteFile(const std::wstring& file) {
  HANDLE in = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return false;
  std::vector<char> bytes(GetFileSize(in, nullptr));
  DWORD got = 0;
  const bool read = ReadFile(in, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
  CloseHandle(in);
  if (!read) return false;
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  const bool written = WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == got;
  return CloseHandle(out) && written;
}

int LiveLatency(const std::wstring& file) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  DWORD_PTR before = 0, now = 0;
  if (!LiveBuilds(frame, before)) return Fail("the program does not answer");
  if (!RewriteFile(file)) return Fail("could not write the file again");
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited < 10000; waited = GetTickCount() - start) {
    if (!LiveBuilds(frame, now)) return Fail("the program does not answer");
    if (now != before) {
      std::printf("live build %lu ms after the save\n", static_cast<unsigned long>(GetTickCount() - start));
      return 0;
    }
    Sleep(5);
  }
  return Fail("no live build within 10 s of the save");
}

}  // namespace

int RunLiveCommand(int argc, wchar_t** argv) {
  const std::wstring command = argv[1];
  if (command == L"command" && argc == 3) return Command(static_cast<UINT>(_wtoi(argv[2])));
  if (command == L"vkey" && argc == 3) return VirtualKey(static_cast<UINT>(_wtoi(argv[2])));
  if (command == L"failure-line" && argc == 4)
    return FailureLine(std::wstring(argv[2]) == L"on", _wtoi(argv[3]));
  if (command == L"live-report" && argc == 3) return LiveReport(argv[2]);
  if (command == L"live-latency" && argc == 3) return LiveLatency(argv[2]);
  return 2;
}
