// What the end-to-end runs cannot set up: a stored workshop name the
// program cannot read, against the real per-user key, and the report
// dialog (template 121) with a long log, worked by a second thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/registry_settings.h"
#include "app/workshop_dialog.h"
#include "datamake/make_data_win.h"
#include "tests/win/preview_test_support.h"

namespace {

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

// The size of a dialog's client area in dialog units, as the template asks.
SIZE DialogUnits(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  RECT unit = {0, 0, 100, 100};
  MapDialogRect(dialog, &unit);
  return {MulDiv(client.right, 100, unit.right), MulDiv(client.bottom, 100, unit.bottom)};
}

// Start-up against the real key; what the key held before comes back.
class WorkshopStartup : public ::testing::Test {
 protected:
  void SetUp() override {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
      DWORD size = 0;
      if (RegQueryValueExW(key, L"MAKER", nullptr, &saved_type_, nullptr, &size) == ERROR_SUCCESS) {
        saved_.resize(size);
        had_value_ =
            RegQueryValueExW(key, L"MAKER", nullptr, &saved_type_, saved_.data(), &size) == ERROR_SUCCESS;
      }
      RegCloseKey(key);
    }
  }
  void TearDown() override {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, L"MAKER");
      RegCloseKey(key);
    }
    if (had_value_) SetMaker(saved_type_, saved_.data(), static_cast<DWORD>(saved_.size()));
    App().notice_shown = false;
  }
  static void SetMaker(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExW(key, L"MAKER", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }

  bool had_value_ = false;
  DWORD saved_type_ = 0;
  std::vector<BYTE> saved_;
};

TEST_F(WorkshopStartup, UnreadableValueIsNeitherAskedForNorOverwritten) {
  const DWORD number = 7;
  const std::wstring too_long(64, L'x');
  struct Case {
    DWORD type;
    const void* data;
    DWORD size;
  } cases[] = {{REG_DWORD, &number, sizeof(number)},
               {REG_SZ, too_long.c_str(), static_cast<DWORD>((too_long.size() + 1) * sizeof(wchar_t))},
               {REG_SZ, too_long.c_str(), static_cast<DWORD>(too_long.size() * sizeof(wchar_t))}};
  for (const Case& c : cases) {
    SetMaker(c.type, c.data, c.size);
    App().notice_shown = false;
    std::unique_ptr<VehicleProject> project;
    std::wstring notice;
    HWND asked = nullptr;
    HRESULT result = S_OK;
    {
      // A dialog that should not appear is noted and cancelled.
      DialogWorker worker([&] {
        if ((asked = WaitDialog(L"環境設定", 1500)) != nullptr) PressButton(asked, IDCANCEL);
        notice = TakeMessageBox(L"Railwick", 3000);
      });
      result = CreateProjectAndWorkshop(Instance(), nullptr, project);
    }
    EXPECT_EQ(result, E_FAIL);
    EXPECT_EQ(asked, nullptr);
    EXPECT_EQ(notice, kWorkshopUnreadableNotice);
    // Still there as it was.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_READ, &key), ERROR_SUCCESS);
    std::vector<BYTE> data(256);
    DWORD type = 0, size = static_cast<DWORD>(data.size());
    EXPECT_EQ(RegQueryValueExW(key, L"MAKER", nullptr, &type, data.data(), &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, c.type);
    ASSERT_GE(size, c.size);
    EXPECT_EQ(memcmp(data.data(), c.data, c.size), 0);
  }
  // One unit shorter, the name reads back whole; an empty one is none.
  const std::wstring longest(63, L'名');
  SetMaker(REG_SZ, longest.c_str(), static_cast<DWORD>((longest.size() + 1) * sizeof(wchar_t)));
  wchar_t buffer[64];
  EXPECT_EQ(ReadStoredWorkshopName(buffer), StoredWorkshopName::kFound);
  EXPECT_EQ(std::wstring(buffer), longest);
  SetMaker(REG_SZ, L"", sizeof(wchar_t));
  EXPECT_EQ(ReadStoredWorkshopName(buffer), StoredWorkshopName::kNone);
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
    PressButton(dialog, IDCANCEL);  // Esc closes it as OK does
    WaitClosed(dialog);
  });
  EXPECT_EQ(ShowReportDialog(Instance(), nullptr, log), 0);
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
