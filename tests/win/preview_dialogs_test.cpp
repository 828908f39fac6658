// The report dialog (template 121) with a log longer than an edit control
// holds by default, worked by a second thread as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "datamake/make_data_win.h"

namespace {

// A dialog of this process with the caption, once visible; null after 10 s.
HWND WaitDialog(const wchar_t* caption) {
  for (int waited = 0; waited < 10000; waited += 10) {
    HWND window = FindWindowW(L"#32770", caption);
    if (window != nullptr && IsWindowVisible(window)) return window;
    Sleep(10);
  }
  return nullptr;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (IsWindowVisible(window) && std::wstring(name) == L"#32770")
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Runs `steps` on a second thread, which works the dialogs the test's own
// thread shows modally; joins on destruction. When the steps end, dialogs
// still shown (one the steps did not expect, say) are closed within 5 s, so
// the modal call returns and the test fails on what it saw instead of hanging.
class DialogWorker {
 public:
  template <typename Steps>
  explicit DialogWorker(Steps steps)
      : thread_([steps, ui_thread = GetCurrentThreadId()] {
          steps();
          for (int waited = 0; waited < 5000; waited += 50) {
            std::vector<HWND> dialogs;
            EnumThreadWindows(ui_thread, CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
            if (dialogs.empty()) return;
            for (HWND dialog : dialogs) PostMessageW(dialog, WM_CLOSE, 0, 0);
            Sleep(50);
          }
        }) {}
  ~DialogWorker() { thread_.join(); }

 private:
  std::thread thread_;
};

// The size of a dialog's client area in dialog units, as the template asks.
SIZE DialogUnits(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  RECT unit = {0, 0, 100, 100};
  MapDialogRect(dialog, &unit);
  return {MulDiv(client.right, 100, unit.right), MulDiv(client.bottom, 100, unit.bottom)};
}

TEST(ReportDialog, ShowsTheWholeLogReadOnly) {
  std::u16string log = u"=== 車輌コンパイル version 5.10 ===\r\n";
  while (log.size() < 100000) log += u"ERROR : index error [9/1/1] [line 5]\r\n";
  std::wstring caption, shown;
  SIZE size = {};
  LONG style = 0, frame_style = 0;
  std::wstring outcome;
  RECT ok = {};
  DialogWorker worker([&] {
    HWND dialog = WaitDialog(L"データ作成レポート");
    if (dialog == nullptr) return;
    caption = WindowText(dialog);
    size = DialogUnits(dialog);
    HWND text = GetDlgItem(dialog, kReportTextControl);
    shown = WindowText(text);
    style = GetWindowLongW(text, GWL_STYLE);
    frame_style = GetWindowLongW(dialog, GWL_STYLE);
    outcome = WindowText(GetDlgItem(dialog, kReportOutcomeControl));
    GetWindowRect(GetDlgItem(dialog, IDOK), &ok);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
    RECT expected = {259, 162, 259 + 50, 162 + 14};
    MapDialogRect(dialog, &expected);
    if (!EqualRect(&ok, &expected)) ok = {};
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // Esc closes it as OK does
    for (int waited = 0; waited < 10000 && IsWindow(dialog); waited += 10) Sleep(10);
  });
  EXPECT_EQ(ShowReportDialog(GetModuleHandleW(nullptr), nullptr, log), 0);
  EXPECT_EQ(caption, L"データ作成レポート");
  EXPECT_EQ(outcome, L"データファイルは作成されていません。");
  EXPECT_TRUE(frame_style & WS_THICKFRAME) << "the window cannot be resized";
  // Dialog units back from pixels round by a unit at most.
  EXPECT_NEAR(size.cx, 316, 1);
  EXPECT_NEAR(size.cy, 183, 1);
  EXPECT_EQ(shown.size(), log.size());
  EXPECT_EQ(shown.compare(0, 30, reinterpret_cast<const wchar_t*>(log.c_str()), 30), 0);
  const LONG wanted = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
  EXPECT_EQ(style & wanted, wanted);
  EXPECT_FALSE(style & ES_AUTOHSCROLL) << "long lines are not wrapped";
  EXPECT_NE(ok.right, 0) << "OK is not at 259, 162, 50 x 14";
}

}  // namespace
