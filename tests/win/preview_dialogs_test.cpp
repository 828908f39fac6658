// The environment dialog (template 141), the workshop name at start-up
// against the real per-user key, and the report dialog (template 121),
// worked by a second thread as a user would.
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

constexpr wchar_t kBlank[] = L"工房名が空欄または空白です。\n文字を入力してください。";
constexpr wchar_t kReserved[] = L"工房名に使用できない名前が使われています。\n別の名前を設定してください。";

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

// Types `text` into the name box and presses OK.
void EnterName(HWND dialog, const std::wstring& text) {
  SetDlgItemTextW(dialog, kWorkshopNameControl, text.c_str());
  PressButton(dialog, IDOK);
}

TEST(EnvironmentDialog, RefusesBadNamesAndKeepsAGoodOneWhole) {
  VehicleProject project;
  std::vector<std::wstring> messages;
  std::wstring caption, kept_text;
  SIZE size = {};
  bool edit_enabled = false;
  DialogWorker worker([&] {
    HWND dialog = WaitDialog(L"環境設定");
    if (dialog == nullptr) return;
    caption = WindowText(dialog);
    size = DialogUnits(dialog);
    edit_enabled = IsWindowEnabled(GetDlgItem(dialog, kWorkshopNameControl)) != FALSE;
    const std::wstring too_long(64, L'工');
    for (const wchar_t* bad :
         {L"", L" 工房", L"\u2003工房", L"ZEK5", L"Halvane", too_long.c_str(), L"a\"b", L"caf\u00E9"}) {
      EnterName(dialog, bad);
      messages.push_back(TakeMessageBox(L"検証"));
    }
    kept_text = WindowText(GetDlgItem(dialog, kWorkshopNameControl));
    EnterName(dialog, std::wstring(63, L'工'));
    WaitClosed(dialog);
  });
  EXPECT_EQ(ShowEnvironmentDialog(Instance(), nullptr, project), 1);
  EXPECT_EQ(caption, L"環境設定");
  EXPECT_NEAR(size.cx, 316, 1);
  EXPECT_NEAR(size.cy, 142, 1);
  EXPECT_TRUE(edit_enabled);
  ASSERT_EQ(messages.size(), 8u);
  EXPECT_EQ(messages[0], kBlank);
  EXPECT_EQ(messages[1], kBlank);
  EXPECT_EQ(messages[2], kBlank);
  EXPECT_EQ(messages[3], kReserved);
  EXPECT_EQ(messages[4], kReserved);
  EXPECT_EQ(messages[5], L"工房名が長すぎます。\n63文字以内で入力してください。");
  EXPECT_EQ(messages[6].rfind(L"工房名に使用できない文字が含まれています。(U+0022)", 0), 0u);
  EXPECT_EQ(messages[7].rfind(L"工房名に使用できない文字が含まれています。(U+00E9)", 0), 0u);
  EXPECT_EQ(kept_text, L"caf\u00E9");  // the refused text stays as typed
  EXPECT_EQ(project.maker.str(), std::u16string(63, u'工'));
}

TEST(EnvironmentDialog, FromTheMenuShowsTheNameReadOnly) {
  VehicleProject project;
  project.maker.Set(u"試験工房");
  bool edit_enabled = true;
  std::wstring shown;
  HWND box = nullptr;
  DialogWorker worker([&] {
    HWND dialog = WaitDialog(L"環境設定");
    if (dialog == nullptr) return;
    edit_enabled = IsWindowEnabled(GetDlgItem(dialog, kWorkshopNameControl)) != FALSE;
    shown = WindowText(GetDlgItem(dialog, kWorkshopNameControl));
    PressButton(dialog, IDOK);
    WaitClosed(dialog);
    box = FindWindowW(L"#32770", L"検証");
  });
  EXPECT_EQ(ShowEnvironmentDialog(Instance(), nullptr, project), 1);
  EXPECT_FALSE(edit_enabled);
  EXPECT_EQ(shown, L"試験工房");
  EXPECT_EQ(box, nullptr);
  EXPECT_EQ(project.maker.str(), u"試験工房");
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
    DeleteMaker();
    App().notice_shown = false;
  }
  void TearDown() override {
    DeleteMaker();
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
  static void SetMakerText(const std::wstring& text) {
    SetMaker(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  static void DeleteMaker() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, L"MAKER");
    RegCloseKey(key);
  }
  static std::wstring StoredMaker() {
    wchar_t name[64];
    return ReadStoredWorkshopName(name) == StoredWorkshopName::kFound ? name : L"";
  }
  // Runs the start-up step; a dialog that should not appear is cancelled
  // and noted.
  // `type` empty: cancel the dialog; `expect_dialog` false: look out for
  // it only briefly.
  HRESULT StartUp(std::unique_ptr<VehicleProject>& project, std::wstring* notice, const std::wstring& type,
                  bool* asked, bool expect_dialog) {
    HRESULT result = E_FAIL;
    DialogWorker worker([&] {
      HWND dialog = WaitDialog(L"環境設定", expect_dialog ? 10000 : 1500);
      if (asked != nullptr) *asked = dialog != nullptr;
      if (dialog != nullptr) {
        if (type.empty()) {
          PressButton(dialog, IDCANCEL);
        } else {
          EnterName(dialog, type);
        }
        WaitClosed(dialog);
      }
      if (notice != nullptr) *notice = TakeMessageBox(L"Railwick", 3000);
    });
    result = CreateProjectAndWorkshop(Instance(), nullptr, project);
    return result;
  }

  bool had_value_ = false;
  DWORD saved_type_ = 0;
  std::vector<BYTE> saved_;
};

TEST_F(WorkshopStartup, StoredNameIsTakenWithoutAsking) {
  SetMakerText(L"zek");  // even a reserved name, as it was stored
  std::unique_ptr<VehicleProject> project;
  bool asked = true;
  EXPECT_EQ(StartUp(project, nullptr, L"", &asked, false), S_OK);
  EXPECT_FALSE(asked);
  ASSERT_TRUE(project);
  EXPECT_EQ(project->maker.str(), u"zek");
}

TEST_F(WorkshopStartup, FirstStartStoresTheNameGiven) {
  std::unique_ptr<VehicleProject> project;
  bool asked = false;
  EXPECT_EQ(StartUp(project, nullptr, L"新しい工房", &asked, true), S_OK);
  EXPECT_TRUE(asked);
  EXPECT_EQ(project->maker.str(), u"新しい工房");
  EXPECT_EQ(StoredMaker(), L"新しい工房");
}

TEST_F(WorkshopStartup, CancelEndsWithItsNoticeAndStoresNothing) {
  std::unique_ptr<VehicleProject> project;
  std::wstring notice;
  bool asked = false;
  EXPECT_EQ(StartUp(project, &notice, L"", &asked, true), E_FAIL);
  EXPECT_TRUE(asked);
  EXPECT_EQ(notice, kWorkshopCancelledNotice);
  EXPECT_EQ(StoredMaker(), L"");
}

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
    bool asked = true;
    EXPECT_EQ(StartUp(project, &notice, L"", &asked, false), E_FAIL);
    EXPECT_FALSE(asked);
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
}

TEST_F(WorkshopStartup, NameOf63CharactersReadsBackWhole) {
  const std::wstring name(63, L'名');
  SetMakerText(name);
  wchar_t buffer[64];
  EXPECT_EQ(ReadStoredWorkshopName(buffer), StoredWorkshopName::kFound);
  EXPECT_EQ(std::wstring(buffer), name);
  SetMakerText(L"");
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
