// What the end-to-end driver's steps share: finding the program's windows,
// asking them with bounded messages, capturing, pressing keys and buttons,
// and saving pictures and texts.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

inline constexpr wchar_t kClass[] = L"ZEK5RLWCK";
// The caption at start: no project file yet, nothing changed.
inline constexpr wchar_t kCaption[] = L"無題 - ZEK RAILWICK";
// Exit status of a step that did not finish in its bound.
inline constexpr int kTimedOut = 3;

// What a step works on, found before it runs: nothing, the main window (a
// run without one fails), the window captioned CAPTION (its first
// argument), or control ID of that window (its second): a missing window is
// a step that timed out, a missing control a wrong dialog.
enum class On { kNothing, kFrame, kCaption, kControl };
// A step's call: what it works on (the main window or the captioned one,
// and the control) and the arguments after its name.
struct Call {
  HWND window, control;
  int count;
  wchar_t** args;
  int Number(int i) const { return _wtoi(args[i]); }
};
// One command of the driver: its name, how many arguments follow the name
// (`least` to `most`), what it works on, and what it does.
struct Step {
  const wchar_t* name;
  int least, most;
  On on;
  int (*run)(const Call& call);
};
// Finds what a step works `on` from the call's arguments into the call; 0
// when found, else the step's exit status (the reason printed).
int FindTarget(On on, Call& call);
// The commands of the frame, of the preview and of the dialogs.
extern const std::vector<Step> kFrameSteps, kPreviewSteps, kDialogSteps;

// Asks `done` every `step_ms` until it holds (true) or `bound_ms` have
// passed (false).
template <typename Done>
bool WaitUntil(DWORD bound_ms, DWORD step_ms, Done done) {
  for (const DWORD start = GetTickCount();; Sleep(step_ms)) {
    if (done()) return true;
    if (GetTickCount() - start >= bound_ms) return false;
  }
}

// `text` in UTF-8.
std::string Utf8(const std::wstring& text);
// Prints "driver: " and `format` with `detail` for its "%ls" in UTF-8 (the
// console's code page cannot hold Japanese); returns 1.
int Fail(const wchar_t* format, const std::wstring& detail = L"");
// The program's main window, or null.
HWND FindFrame();
// The process of the main window; 0 while there is none.
DWORD ProgramProcess();
// The top-level windows of process `pid` (of any process but the driver's
// when 0), hidden ones included.
std::vector<HWND> TopWindows(DWORD pid);
// Says why the step ran out of time and what the program's top-level
// windows were then, hidden ones included; returns kTimedOut.
int TimedOut(const wchar_t* format, const std::wstring& detail = L"");
// SendMessage that cannot block the driver: a window whose thread does not
// answer in time gives 0 and marks the step as timed out (see SendGaveUp).
LRESULT Ask(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
// True once an Ask gave up on a window that was still there.
bool SendGaveUp();
// A window's text as the window itself reports it (GetWindowText would give
// only the creation text of another process's control).
std::wstring WindowText(HWND window);
// Clicks a button of a dialog as the dialog manager reports a click.
void PressButton(HWND dialog, int id);
// The client area as 32-bit BGRX rows, read from the window's device
// context; with `outer`, the whole window as the screen shows it.
bool CaptureWindow(HWND window, std::vector<uint32_t>& pixels, int& width, int& height, bool outer = false);
// Waits up to 30 s for `frames` more frames drawn (the status line in the
// top 14 rows changes with every one); the last capture is in `pixels`.
// False when none came or the window could not be captured.
bool WaitFrames(HWND window, int frames, std::vector<uint32_t>& pixels, int& width, int& height);
// The pixels of the client area's rows `top` to `bottom` (not included)
// that `counts` takes; -1 when the window cannot be captured or is lower.
long BandPixels(HWND window, int top, int bottom, bool (*counts)(uint32_t pixel));
// A pixel that is not black, and the count of them.
inline bool Lit(uint32_t pixel) {
  return (pixel & 0xFFFFFF) != 0;
}
size_t LitPixels(const std::vector<uint32_t>& pixels);
// A key press or release as the user's keyboard makes it.
void PressKey(WORD key, bool down);
// Brings `window` to the front and presses `key` there, for `hold_ms`;
// without a time the key stays down until PressKey(key, false).
void PressKeyOn(HWND window, WORD key, DWORD hold_ms = INFINITE);
bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes);
// Any image file GDI+ reads, saved as PNG.
bool SaveAsPng(const std::wstring& image, const std::wstring& png);
// 32-bit BGRX rows saved as PNG.
bool SavePixelsAsPng(const std::vector<uint32_t>& pixels, int width, int height, const std::wstring& png);
// The file at `path` made anew with `size` bytes.
bool WriteBytes(const std::wstring& path, const void* bytes, size_t size);
// `text` as UTF-8 in the file at `path`.
bool WriteUtf8(const std::wstring& path, const std::wstring& text);
// The folder F4 saves screenshots into (My Pictures, else My Documents);
// empty when there is none.
std::wstring PictureFolder();
// The path of screenshot `number` there: "\scr%05d.bmp".
std::wstring ScreenshotFile(const std::wstring& folder, int number);
