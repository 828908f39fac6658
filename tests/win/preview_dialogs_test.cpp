// The report dialog (template 121) with a log longer than an edit control
// holds by default, read and closed from a timer of its modal loop (its
// caption and outcome line: tools/wine-e2e-menu.sh).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "datamake/make_data_win.h"

namespace {

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The size of a dialog's client area in dialog units, as the template asks.
SIZE DialogUnits(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  RECT unit = {0, 0, 100, 100};
  MapDialogRect(dialog, &unit);
  return {MulDiv(client.right, 100, unit.right), MulDiv(client.bottom, 100, unit.bottom)};
}

// What the dialog showed, read on the first tick that finds it.
struct Seen {
  std::wstring shown;
  SIZE size = {};
  LONG style = 0, frame_style = 0;
  RECT ok = {};
  int ticks = 0;
} seen;

// Reads the dialog and presses Esc; a dialog still there on a later tick is
// ended, so the modal call returns and the test fails instead of hanging.
void CALLBACK ReadAndClose(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowW(L"#32770", nullptr);
  if (dialog == nullptr || !IsWindowVisible(dialog)) return;
  if (++seen.ticks > 1) {
    EndDialog(dialog, -1);
    return;
  }
  seen.size = DialogUnits(dialog);
  HWND text = GetDlgItem(dialog, kReportTextControl);
  seen.shown = WindowText(text);
  seen.style = GetWindowLongW(text, GWL_STYLE);
  seen.frame_style = GetWindowLongW(dialog, GWL_STYLE);
  GetWindowRect(GetDlgItem(dialog, IDOK), &seen.ok);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&seen.ok), 2);
  RECT expected = {259, 162, 259 + 50, 162 + 14};
  MapDialogRect(dialog, &expected);
  if (!EqualRect(&seen.ok, &expected)) seen.ok = {};
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // Esc closes it as OK does
}

TEST(ReportDialog, ShowsTheWholeLogReadOnly) {
  std::u16string log = u"=== 車輌コンパイル version 5.10 ===\r\n";
  while (log.size() < 100000) log += u"ERROR : index error [9/1/1] [line 5]\r\n";
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadAndClose);
  EXPECT_EQ(ShowReportDialog(GetModuleHandleW(nullptr), nullptr, log), 0);
  KillTimer(nullptr, timer);
  EXPECT_EQ(seen.ticks, 1) << "Esc did not close the dialog";
  EXPECT_TRUE(seen.frame_style & WS_THICKFRAME) << "the window cannot be resized";
  // Dialog units back from pixels round by a unit at most.
  EXPECT_NEAR(seen.size.cx, 316, 1);
  EXPECT_NEAR(seen.size.cy, 183, 1);
  EXPECT_EQ(seen.shown.size(), log.size());
  EXPECT_EQ(seen.shown.compare(0, 30, reinterpret_cast<const wchar_t*>(log.c_str()), 30), 0);
  const LONG wanted = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
  EXPECT_EQ(seen.style & wanted, wanted);
  EXPECT_FALSE(seen.style & ES_AUTOHSCROLL) << "long lines are not wrapped";
  EXPECT_NE(seen.ok.right, 0) << "OK is not at 259, 162, 50 x 14";
}

}  // namespace
