// The menu and dialog templates the program's executable carries, checked
// against what the program's code does with them: each data dialog opens
// from its menu item with the caption the item names, and every control the
// dialog's code shows, reads or browses for is there, of the kind it needs.
#include <gtest/gtest.h>
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "dialogs/data_dialogs.h"
#include "platform/files.h"
#include "res/dialog_ids.h"

namespace {

HMODULE Program() {
  static const HMODULE module = [] {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"Railwick.exe";
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }();
  return module;
}

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

INT_PTR CALLBACK IdleDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The window class each control needs, as the dialog code uses it.
struct ControlKinds : DialogControls {
  std::map<int, std::wstring> kinds;
  std::u16string Text(int id) override { return kinds[id] = L"Edit", u""; }
  void SetText(int id, std::u16string_view, size_t) override { kinds[id] = L"Edit"; }
  bool Checked(int id) override { return kinds[id] = L"Button", false; }
  void SetChecked(int id, bool) override { kinds[id] = L"Button"; }
  int Selection(int id) override { return kinds[id] = L"ComboBox", -1; }
  void SetChoices(int id, const std::vector<std::u16string>&, int) override { kinds[id] = L"ComboBox"; }
  void SetSelection(int id, int) override { kinds[id] = L"ComboBox"; }
  void Focus(int) override {}
};

// Opens the template and checks each control of `kinds`; the caption is returned.
std::wstring ExpectControls(int template_id, const std::map<int, std::wstring>& kinds) {
  HWND dialog = CreateDialogParamW(Program(), MAKEINTRESOURCEW(template_id), nullptr, IdleDialogProc, 0);
  EXPECT_NE(dialog, nullptr) << template_id;
  if (dialog == nullptr) return L"";
  for (const auto& [id, kind] : kinds) {
    HWND control = GetDlgItem(dialog, id);
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    EXPECT_EQ(_wcsicmp(name, kind.c_str()), 0) << template_id << " #" << id << " is \"" << name << "\"";
  }
  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDOK)), L"OK") << template_id;
  const std::wstring caption = TextOf(dialog);
  DestroyWindow(dialog);
  return caption;
}

// The menu as the user reads it, one line a popup or item, against
// tests/data/win/menu.txt; every "\tCtrl+X" an item shows is a key of the
// accelerator table that gives the item's command, and the table has no
// other key.
TEST(ProgramResources, MenuShowsItsItemsInOrderAndTheirShortcutsAreTheAcceleratorKeys) {
  ASSERT_NE(Program(), nullptr);
  HMENU bar = LoadMenuW(Program(), MAKEINTRESOURCEW(106));
  HACCEL table = LoadAcceleratorsW(Program(), MAKEINTRESOURCEW(107));
  ASSERT_TRUE(bar != nullptr && table != nullptr);
  ACCEL keys[16] = {};
  const int key_count = CopyAcceleratorTableW(table, keys, 16);
  int shortcuts = 0;
  std::wstring shown;
  for (int p = 0; p < GetMenuItemCount(bar); ++p) {
    wchar_t text[128] = {};
    GetMenuStringW(bar, static_cast<UINT>(p), text, 128, MF_BYPOSITION);
    shown += std::wstring(text) + L"\n";
    HMENU popup = GetSubMenu(bar, p);
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
      std::wstring item(128, L'\0');
      item.resize(GetMenuStringW(popup, static_cast<UINT>(i), item.data(), 128, MF_BYPOSITION));
      const UINT id = GetMenuItemID(popup, i);
      if (const size_t ctrl = item.find(L"\tCtrl+"); ctrl != std::wstring::npos) {
        ++shortcuts;
        const auto gives = [&](const ACCEL& k) {
          return k.key == item[ctrl + 6] && k.cmd == id &&
                 (k.fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT)) == (FVIRTKEY | FCONTROL);
        };
        EXPECT_TRUE(std::any_of(keys, keys + key_count, gives)) << id;
      }
      for (size_t tab = item.find(L'\t'); tab != std::wstring::npos; tab = item.find(L'\t')) item.replace(tab, 1, L"\\t");
      shown += id == 0 ? L"  -\n" : L"  " + std::to_wstring(id) + L" " + item + L"\n";
    }
  }
  DestroyMenu(bar);
  DestroyAcceleratorTable(table);
  EXPECT_EQ(shortcuts, 4);
  EXPECT_EQ(key_count, shortcuts);
  std::u16string expected;
  ASSERT_TRUE(ReadUtf8TextFile(u"" RAILWICK_SOURCE_DIR "/tests/data/win/menu.txt", expected));
  EXPECT_EQ(shown, std::wstring(expected.begin(), expected.end()));
}

TEST(ProgramResources, EveryDataMenuItemOpensItsDialogWithTheControlsItsCodeUses) {
  ASSERT_NE(Program(), nullptr);
  HMENU bar = LoadMenuW(Program(), MAKEINTRESOURCEW(106));
  ASSERT_NE(bar, nullptr);
  HMENU data = GetSubMenu(bar, 1);
  size_t opened = 0;
  auto project = std::make_unique<VehicleProject>();
  for (int i = 0; i < GetMenuItemCount(data); ++i) {
    const int template_id = DataDialogOfCommand(static_cast<int>(GetMenuItemID(data, i)));
    if (template_id == 0) continue;
    const DataDialogLayout* layout = FindDataDialog(template_id);
    ASSERT_NE(layout, nullptr) << template_id;
    ControlKinds controls;
    DialogExchange shown(controls, ExchangeDirection::kShow);
    layout->exchange(shown, *project, 0);
    for (size_t b = 0; b < layout->button_count; ++b) {
      controls.kinds[layout->buttons[b].button] = L"Button";
      controls.kinds[layout->buttons[b].edit] = L"Edit";
    }
    if (layout->page_list != 0) controls.kinds[layout->page_list] = L"ComboBox";
    controls.kinds[IDCANCEL] = L"Button";
    const std::wstring caption(layout->caption, layout->caption + std::char_traits<char16_t>::length(layout->caption));
    EXPECT_EQ(ExpectControls(template_id, controls.kinds), caption);
    wchar_t item[128] = {};
    GetMenuStringW(data, static_cast<UINT>(i), item, 128, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(item).substr(0, std::wstring(item).find(L"(&")), caption);
    ++opened;
  }
  EXPECT_EQ(opened, kDataDialogCount);
  DestroyMenu(bar);
}

TEST(ProgramResources, OtherDialogsHaveTheControlsTheProgramUses) {
  ExpectControls(IDD_ENVIRONMENT, {{IDC_WORKSHOP_NAME, L"Edit"}, {IDCANCEL, L"Button"}});
  ExpectControls(IDD_ABOUT, {{IDC_ABOUT_TEXT, L"Static"}});
  ExpectControls(IDD_CONTAINER_LIST, {{IDC_CONTAINER_LIST, L"SysListView32"}, {IDC_CONTAINER_ADD, L"Button"}});
  ExpectControls(IDD_CONTAINER_SLOT, {{IDC_CONTAINER_TYPE, L"ComboBox"}, {IDC_CONTAINER_X, L"Edit"},
                                      {IDC_CONTAINER_Y, L"Edit"}, {IDC_CONTAINER_Z, L"Edit"}});
}

// The program asks for common controls 6 and declares itself DPI-aware
// (system-aware), in the manifest the loader reads.
TEST(ProgramResources, ManifestAsksForCommonControls6AndSystemDpiAwareness) {
  ASSERT_NE(Program(), nullptr);
  HRSRC found = FindResourceW(Program(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr) << "no manifest";
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(Program(), found)));
  const std::string manifest(bytes, SizeofResource(Program(), found));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos);
}

}  // namespace
