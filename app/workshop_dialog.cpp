#include "app/workshop_dialog.h"

#include <cwchar>
#include <string>

#include "app/notice.h"
#include "app/registry_settings.h"
#include "project/notifier.h"
#include "project/workshop_name.h"
#include "project/workshop_name_script.h"

namespace {

const wchar_t* Wide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}

void ShowCheckMessage(HWND dialog, const std::u16string& message) {
  MessageBoxW(dialog, Wide(message.c_str()), Wide(kCheckCaption), MB_OK | MB_ICONERROR);
}

// The name as typed, whole: a longer one is refused, not cut.
std::u16string TypedName(HWND dialog) {
  HWND edit = GetDlgItem(dialog, kWorkshopNameControl);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// True when the name may be kept; otherwise the user has been told why and
// the dialog stays open with the text as typed.
bool AcceptName(HWND dialog, std::u16string_view name) {
  if (const char16_t* why = WorkshopNameMessage(CheckWorkshopName(name))) {
    ShowCheckMessage(dialog, why);
    return false;
  }
  const size_t bad = FindUnscriptableCharacter(name);
  if (bad != std::u16string_view::npos) {
    ShowCheckMessage(dialog, UnscriptableCharacterMessage(name, bad));
    return false;
  }
  return true;
}

}  // namespace

INT_PTR CALLBACK EnvironmentDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* data = reinterpret_cast<EnvironmentDialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      data = reinterpret_cast<EnvironmentDialogData*>(lparam);
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      if (data->maker != nullptr) SetDlgItemTextW(dialog, kWorkshopNameControl, Wide(data->maker->units));
      if (!data->editable) EnableWindow(GetDlgItem(dialog, kWorkshopNameControl), FALSE);
      return TRUE;
    case WM_COMMAND:
      if (data == nullptr) return FALSE;
      if (LOWORD(wparam) == IDOK) {
        data->result = 1;
        if (data->editable && data->maker != nullptr) {
          const std::u16string name = TypedName(dialog);
          if (!AcceptName(dialog, name)) return TRUE;
          data->maker->Set(name);
        }
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        data->result = 0;
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

int ShowEnvironmentDialog(HINSTANCE instance, HWND owner, VehicleProject& project) {
  EnvironmentDialogData data;
  data.instance = instance;
  data.editable = project.maker.empty();
  data.maker = &project.maker;
  DialogBoxParamW(instance, MAKEINTRESOURCEW(kEnvironmentDialogTemplate), owner, EnvironmentDialogProc,
                  reinterpret_cast<LPARAM>(&data));
  return data.result;
}

StoredWorkshopName ReadStoredWorkshopName(wchar_t (&buffer)[64]) {
  buffer[0] = 0;
  HKEY key = nullptr;
  LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_READ, &key);
  if (result == ERROR_FILE_NOT_FOUND) return StoredWorkshopName::kNone;
  if (result != ERROR_SUCCESS) return StoredWorkshopName::kUnreadable;
  wchar_t value[64] = {};
  DWORD type = 0;
  DWORD size = sizeof(value);
  result = RegQueryValueExW(key, L"MAKER", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (result == ERROR_FILE_NOT_FOUND) return StoredWorkshopName::kNone;
  // ERROR_MORE_DATA: longer than the 63 characters a name may have.
  if (result != ERROR_SUCCESS || type != REG_SZ) return StoredWorkshopName::kUnreadable;
  size_t units = size / sizeof(wchar_t);
  while (units > 0 && value[units - 1] == 0) --units;
  if (units > 63) return StoredWorkshopName::kUnreadable;
  wmemcpy(buffer, value, units);
  buffer[units] = 0;
  return buffer[0] != 0 ? StoredWorkshopName::kFound : StoredWorkshopName::kNone;
}

HRESULT CreateProjectAndWorkshop(HINSTANCE instance, HWND owner, std::unique_ptr<VehicleProject>& project) {
  project = std::make_unique<VehicleProject>();
  project->maker.Clear();
  ResetProject(*project);

  wchar_t stored[64];
  switch (ReadStoredWorkshopName(stored)) {
    case StoredWorkshopName::kFound:
      // Taken as stored: the name was checked when it was entered.
      project->maker.Set(reinterpret_cast<const char16_t*>(stored));
      return S_OK;
    case StoredWorkshopName::kUnreadable:
      // Asking again would overwrite a name that must never change.
      ShowNotice(kWorkshopUnreadableNotice);
      return E_FAIL;
    case StoredWorkshopName::kNone:
      break;
  }

  EnvironmentDialogData data;
  data.instance = instance;
  data.editable = true;
  data.maker = &project->maker;
  DialogBoxParamW(instance, MAKEINTRESOURCEW(kEnvironmentDialogTemplate), owner, EnvironmentDialogProc,
                  reinterpret_cast<LPARAM>(&data));
  if (project->maker.empty()) {
    ShowNotice(kWorkshopCancelledNotice);
    return E_FAIL;
  }
  if (WriteWorkshopName(Wide(project->maker.units)) != 1) {
    MessageBoxW(owner,
                L"工房名をレジストリに保存できませんでした。\n次回の起動時にもう一度設定してください。",
                L"Railwick", MB_OK | MB_ICONWARNING);
  }
  return S_OK;
}
