// The menu and the dialog templates as the program's executable carries
// them: item texts and ids, captions, and every control's id, kind and, where
// it is fixed, its text. The expected values are written out from the
// program's description, not taken from the resource scripts.
#include <gtest/gtest.h>
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <string>
#include <vector>

namespace {

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Railwick.exe";
}

class ProgramResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  static HMODULE module_;
};
HMODULE ProgramResources::module_ = nullptr;

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct MenuItem {
  int id;  // 0 for a separator
  const wchar_t* text;
};

void ExpectPopup(HMENU bar, int index, const wchar_t* title, const std::vector<MenuItem>& items) {
  wchar_t text[128] = {};
  GetMenuStringW(bar, static_cast<UINT>(index), text, 128, MF_BYPOSITION);
  EXPECT_STREQ(text, title);
  HMENU popup = GetSubMenu(bar, index);
  ASSERT_NE(popup, nullptr) << index;
  ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(items.size())) << index;
  for (size_t i = 0; i < items.size(); ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    wchar_t item_text[128] = {};
    info.dwTypeData = item_text;
    info.cch = 128;
    ASSERT_TRUE(GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info));
    if (items[i].id == 0) {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
      continue;
    }
    EXPECT_EQ(static_cast<int>(info.wID), items[i].id) << i;
    EXPECT_STREQ(item_text, items[i].text) << i;
  }
}

TEST_F(ProgramResources, MenuHasTheItemsInOrder) {
  ASSERT_NE(module_, nullptr);
  HMENU bar = LoadMenuW(module_, MAKEINTRESOURCEW(106));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  ExpectPopup(bar, 0, L"ファイル(&F)",
              {{32771, L"新規(&N)\tCtrl+N"},
               {32772, L"開く(&L)\tCtrl+O"},
               {32780, L"保存(&S)\tCtrl+S"},
               {32820, L"名前を付けて保存(&A)"},
               {0, nullptr},
               {32778, L"データ作成(&M)\tCtrl+M"},
               {32779, L"環境設定(&E)"},
               {0, nullptr},
               {105, L"終了(&X)"}});
  ExpectPopup(bar, 1, L"データ(&D)",
              {{32781, L"基本設定(&B)"},
               {32782, L"車体(&C)"},
               {32783, L"台車(&T)"},
               {32784, L"運転台(&U)"},
               {32785, L"パンタグラフ(&P)"},
               {32786, L"連結器(&R)"},
               {32787, L"ライト(&L)"},
               {32789, L"オプション(&O)"},
               {32790, L"ヘッドマーク/方向幕(&H)"},
               {32788, L"サウンド(&S)"},
               {32792, L"コンテナ位置(&N)"}});
  ExpectPopup(bar, 2, L"プレビュー(&P)",
              {{32900, L"自動更新(&A)"}, {32901, L"今すぐ更新(&U)\tF5"}, {32902, L"レポート(&R)..."}});
  ExpectPopup(bar, 3, L"ヘルプ(&H)", {{104, L"バージョン情報(&A)..."}});
  DestroyMenu(bar);
}

// Every "\tCtrl+X" a menu item shows is a key of the accelerator table that
// gives that item's command, and the table has no other key.
TEST_F(ProgramResources, MenuShortcutsAreTheAcceleratorKeys) {
  ASSERT_NE(module_, nullptr);
  HACCEL table = LoadAcceleratorsW(module_, MAKEINTRESOURCEW(107));
  ASSERT_NE(table, nullptr);
  ACCEL keys[16] = {};
  const int count = CopyAcceleratorTableW(table, keys, 16);
  HMENU bar = LoadMenuW(module_, MAKEINTRESOURCEW(106));
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_NE(file, nullptr);
  int shown = 0;
  for (int i = 0; i < GetMenuItemCount(file); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(file, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    const wchar_t* shortcut = wcsstr(text, L"\tCtrl+");
    if (!shortcut) continue;
    ++shown;
    const UINT id = GetMenuItemID(file, i);
    bool found = false;
    for (int k = 0; k < count; ++k)
      found = found || (keys[k].key == shortcut[6] && keys[k].cmd == id && (keys[k].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT)) == (FVIRTKEY | FCONTROL));
    EXPECT_TRUE(found) << i;
  }
  EXPECT_EQ(shown, 4);
  EXPECT_EQ(count, shown);
  DestroyMenu(bar);
  DestroyAcceleratorTable(table);
}

// The program asks for common controls 6 and declares itself DPI-aware
// (system-aware), in the manifest the loader reads.
TEST_F(ProgramResources, ManifestAsksForCommonControls6AndSystemDpiAwareness) {
  ASSERT_NE(module_, nullptr);
  HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr) << "no manifest";
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
  const std::string manifest(bytes, SizeofResource(module_, found));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos);
}

INT_PTR CALLBACK IdleDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

enum Kind { kEdit, kButton, kCombo, kList, kStatic };

struct ControlLayout {
  int id;
  Kind kind;
  const wchar_t* text;  // null when the description leaves the text open
};

struct DialogLayout {
  int template_id;
  const wchar_t* caption;
  std::vector<ControlLayout> controls;
};

// An edit with its browse button.
void AddBrowsed(std::vector<ControlLayout>& c, int edit, int button, const wchar_t* button_text) {
  c.push_back({edit, kEdit, nullptr});
  c.push_back({button, kButton, button_text});
}

std::vector<DialogLayout> Dialogs() {
  std::vector<DialogLayout> d;
  {
    DialogLayout s{122, L"基本設定", {}};
    for (int id : {1153, 1001, 1003, 1002, 1005, 1004, 1014, 1006, 1008, 1009})
      s.controls.push_back({id, kEdit, nullptr});
    s.controls.push_back({1150, kCombo, nullptr});
    s.controls.push_back({1010, kCombo, nullptr});
    s.controls.push_back({1016, kButton, L"パス参照"});
    s.controls.push_back({1007, kButton, L"png参照"});
    s.controls.push_back({1012, kButton, L"png参照"});
    s.controls.push_back({1162, kButton, L"テクスチャーのV値を上下反転する"});
    for (int id : {1156, 1165, 1183, 1186}) s.controls.push_back({id, kButton, nullptr});
    d.push_back(s);
  }
  {
    DialogLayout s{123, L"車体", {}};
    const int pairs[][2] = {{1011, 1015}, {1013, 1017}, {1019, 1023},
                            {1021, 1025}, {1027, 1031}, {1029, 1033}};
    for (const auto& p : pairs) AddBrowsed(s.controls, p[0], p[1], L"obj参照");
    d.push_back(s);
  }
  {
    DialogLayout s{124, L"台車", {}};
    AddBrowsed(s.controls, 1018, 1020, L"obj参照");
    AddBrowsed(s.controls, 1024, 1026, L"obj参照");
    s.controls.push_back({1022, kEdit, nullptr});
    s.controls.push_back({1028, kEdit, nullptr});
    const int bogies[][13] = {
        {1032, 1030, 1034, 1035, 1036, 1037, 1038, 1039, 1041, 1043, 1046, 1049, 1052},
        {1061, 1056, 1065, 1069, 1073, 1077, 1081, 1084, 1089, 1090, 1093, 1095, 1097},
        {1101, 1099, 1103, 1105, 1108, 1111, 1114, 1117, 1120, 1123, 1126, 1129, 1132},
    };
    for (const auto& b : bogies) {
      s.controls.push_back({b[0], kCombo, nullptr});
      s.controls.push_back({b[1], kEdit, nullptr});
      AddBrowsed(s.controls, b[2], b[3], L"obj参照");
      for (int m = 0; m < 3; ++m) {
        s.controls.push_back({b[4 + 3 * m], kCombo, nullptr});
        s.controls.push_back({b[5 + 3 * m], kEdit, nullptr});
        s.controls.push_back({b[6 + 3 * m], kEdit, nullptr});
      }
    }
    d.push_back(s);
  }
  d.push_back({125,
               L"運転台",
               {{1040, kButton, L"マイナス方向の運転台を設定する"},
                {1042, kEdit, nullptr},
                {1044, kEdit, nullptr},
                {1047, kEdit, nullptr},
                {1050, kButton, L"プラス方向の運転台を設定する"},
                {1053, kEdit, nullptr},
                {1057, kEdit, nullptr},
                {1062, kEdit, nullptr}}});
  {
    DialogLayout s{126, L"パンタグラフ", {}};
    const int groups[][5] = {{1048, 1054, 1045, 1051, 1058},
                             {1066, 1074, 1063, 1070, 1078},
                             {1109, 1115, 1106, 1112, 1118},
                             {1124, 1130, 1121, 1127, 1133}};
    for (const auto& g : groups) {
      AddBrowsed(s.controls, g[0], g[3], L"obj参照");
      AddBrowsed(s.controls, g[1], g[4], L"obj参照");
      s.controls.push_back({g[2], kButton, L"初期状態：パンタグラフを下げる"});
    }
    d.push_back(s);
  }
  d.push_back({127, L"連結器", {{1055, kEdit, nullptr}, {1059, kEdit, nullptr}}});
  {
    DialogLayout s{128, L"ライト", {}};
    const int pairs[][2] = {{1060, 1064}, {1067, 1071}, {1075, 1079}, {1082, 1085}, {1087, 1091}};
    for (const auto& p : pairs) AddBrowsed(s.controls, p[0], p[1], L"obj参照");
    d.push_back(s);
  }
  {
    DialogLayout s{129, L"オプション", {{1068, kCombo, nullptr}, {1136, kButton, L"初期状態：有効にする"}}};
    for (int id : {1072, 1080, 1086, 1092, 1096, 1100, 1104, 1110, 1116, 1122, 1128, 1134})
      s.controls.push_back({id, kEdit, nullptr});
    for (int id : {1076, 1135}) s.controls.push_back({id, kButton, L"obj参照"});
    d.push_back(s);
  }
  {
    DialogLayout s{130, L"ヘッドマーク/方向幕", {}};
    AddBrowsed(s.controls, 1137, 1138, L"png参照");
    for (int id : {1139, 1143, 1148, 1154, 1160, 1166, 1170}) s.controls.push_back({id, kEdit, nullptr});
    for (int id : {1141, 1145, 1151, 1157, 1163, 1168, 1173}) s.controls.push_back({id, kButton, L"obj参照"});
    d.push_back(s);
  }
  {
    DialogLayout s{140, L"サウンド", {}};
    const int pairs[][2] = {{1140, 1142}, {1144, 1146}, {1149, 1152}, {1155, 1158}, {1161, 1164},
                            {1167, 1169}, {1171, 1174}, {1176, 1178}, {1182, 1184}, {1187, 1188}};
    for (const auto& p : pairs) AddBrowsed(s.controls, p[0], p[1], L"wav参照");
    d.push_back(s);
  }
  d.push_back({141, L"環境設定", {{1147, kEdit, nullptr}, {2, kButton, L"キャンセル"}}});
  d.push_back({142, L"バージョン情報", {{1159, kStatic, nullptr}}});
  d.push_back({143, L"コンテナ位置", {{1172, kList, nullptr}, {1175, kButton, L"データ追加"}}});
  d.push_back(
      {144,
       L"コンテナ位置設定",
       {{1181, kCombo, nullptr}, {1177, kEdit, nullptr}, {1179, kEdit, nullptr}, {1180, kEdit, nullptr}}});
  return d;
}

const wchar_t* ClassName(Kind kind) {
  switch (kind) {
    case kEdit:
      return L"Edit";
    case kButton:
      return L"Button";
    case kCombo:
      return L"ComboBox";
    case kList:
      return L"SysListView32";
    case kStatic:
    default:
      return L"Static";
  }
}

// Texts a dialog must show somewhere (labels without ids).
bool ShowsText(HWND dialog, const wchar_t* text) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (TextOf(child) == text) return true;
  return false;
}

TEST_F(ProgramResources, DialogsHaveTheirControls) {
  ASSERT_NE(module_, nullptr);
  for (const DialogLayout& layout : Dialogs()) {
    SCOPED_TRACE(layout.template_id);
    HWND dialog = CreateDialogParamW(module_, MAKEINTRESOURCEW(layout.template_id), nullptr, IdleDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(dialog), layout.caption);
    for (const ControlLayout& c : layout.controls) {
      HWND control = GetDlgItem(dialog, c.id);
      ASSERT_NE(control, nullptr) << c.id;
      EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), ClassName(c.kind)), 0) << c.id;
      if (c.text) {
        EXPECT_EQ(TextOf(control), c.text) << c.id;
      }
    }
    // Every dialog but the container list and the About box has OK and
    // "キャンセル"; those two have OK only.
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDOK)), L"OK");
    const bool has_cancel = layout.template_id != 143 && layout.template_id != 142;
    EXPECT_EQ(GetDlgItem(dialog, IDCANCEL) != nullptr, has_cancel);
    if (has_cancel) {
      EXPECT_EQ(TextOf(GetDlgItem(dialog, IDCANCEL)), L"キャンセル");
    }
    DestroyWindow(dialog);
  }
}

TEST_F(ProgramResources, LabelsAndNotesOfTheDescription) {
  ASSERT_NE(module_, nullptr);
  const struct {
    int template_id;
    const wchar_t* text;
  } labels[] = {
      {122, L"形式番号"},       {122, L"形式番号（短縮）"},
      {122, L"説明"},           {122, L"形式名"},
      {122, L"最高速度"},       {122, L"振り子角度"},
      {122, L"OBJ拡大率"},      {122, L"形式画像(200*58)"},
      {127, L"-x側位置"},       {127, L"+x側位置"},
      {128, L"入換車両標識"},   {129, L"オプションセット"},
      {130, L"方向幕（点灯）"}, {130, L"車両テクスチャー"},
      {141, L"工房名"},         {141, L"工房名は、一度決定した後は変更できません。"},
      {141, L"工房"},
  };
  for (const auto& l : labels) {
    HWND dialog = CreateDialogParamW(module_, MAKEINTRESOURCEW(l.template_id), nullptr, IdleDialogProc, 0);
    ASSERT_NE(dialog, nullptr) << l.template_id;
    EXPECT_TRUE(ShowsText(dialog, l.text)) << l.template_id;
    DestroyWindow(dialog);
  }
  // The environment dialog has the size the description gives.
  HWND dialog = CreateDialogParamW(module_, MAKEINTRESOURCEW(141), nullptr, IdleDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  RECT units = {0, 0, 316, 142}, client = {};
  MapDialogRect(dialog, &units);
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, units.right);
  EXPECT_EQ(client.bottom, units.bottom);
  DestroyWindow(dialog);
}

}  // namespace
