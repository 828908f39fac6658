// Shared pieces of the preview's Windows tests: a second thread that works
// the dialogs the test's own thread shows modally, and the source tree.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

// A dialog or message box of this process with the caption, once visible;
// null after `timeout_ms`.
HWND WaitDialog(const wchar_t* caption, int timeout_ms = 10000);
bool WaitClosed(HWND window, int timeout_ms = 10000);
std::wstring WindowText(HWND window);
// Clicks a button of a dialog (as the dialog manager reports the click).
void PressButton(HWND dialog, int id);
// The text of the message box with `caption`, which is then closed; empty
// when none appears.
std::wstring TakeMessageBox(const wchar_t* caption, int timeout_ms = 10000);

// Closes (Cancel, then WM_CLOSE) every dialog and message box the thread
// still shows, for at most `timeout_ms`; true when none is left.
bool CloseThreadDialogs(DWORD thread, int timeout_ms = 5000);

// Runs `steps` on a second thread from construction; joins on destruction.
// When the steps end, dialogs the constructing thread still shows (one the
// steps did not expect, say) are closed, so its modal call returns and the
// test fails on what it saw instead of hanging.
class DialogWorker {
 public:
  explicit DialogWorker(std::function<void()> steps)
      : ui_thread_(GetCurrentThreadId()), thread_([this, steps = std::move(steps)] {
          steps();
          CloseThreadDialogs(ui_thread_);
        }) {}
  ~DialogWorker() { thread_.join(); }

 private:
  DWORD ui_thread_;
  std::thread thread_;
};

// A path in the source tree (forward slashes kept; the file functions take both).
std::u16string SourceFile(const char* relative);
