// The About box: product name, version and copyright from the program's own
// version record.
#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/about_text.h"
#include "dialogs/data_dialog_win.h"
#include "dialogs/dialog_window_win.h"
#include "res/dialog_ids.h"

namespace {

// The module's version record, or empty when it has none.
std::vector<uint8_t> ReadVersionRecord() {
  wchar_t module[MAX_PATH] = {};
  if (!GetModuleFileNameW(nullptr, module, MAX_PATH)) return {};
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(module, &handle);
  if (size == 0) return {};
  std::vector<uint8_t> record(size);
  if (!GetFileVersionInfoW(module, 0, size, record.data())) return {};
  return record;
}

// The first translation of the lookup order that has the string.
bool FindVersionString(std::vector<uint8_t>& record, const std::u16string& name, std::u16string& value) {
  for (const VersionTranslation& t : VersionLookupOrder()) {
    void* text = nullptr;
    UINT length = 0;
    if (VerQueryValueW(record.data(), WideText(VersionStringKey(t, name)), &text, &length) && text &&
        length) {
      value = FromWide(static_cast<const wchar_t*>(text));
      return true;
    }
  }
  return false;
}

void ShowVersionText(HWND dialog) {
  std::vector<uint8_t> record = ReadVersionRecord();
  if (record.empty()) return;  // the template's text stays
  void* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", &translations, &length)) return;
  std::u16string product, version, copyright;
  FindVersionString(record, u"ProductName", product);
  FindVersionString(record, u"ProductVersion", version);
  FindVersionString(record, u"LegalCopyright", copyright);
  SetDlgItemTextW(dialog, IDC_ABOUT_TEXT, WideText(AboutText(product, version, copyright)));
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    ShowVersionText(dialog);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void ShowAboutDialog(HINSTANCE instance, HWND owner) {
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutDialogProc, 0);
}
