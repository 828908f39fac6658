// The workshop name: asked for once at the first start in the environment
// dialog, kept in the registry, shown read-only from then on, and carried
// by every vehicle the program makes.
#pragma once
#include <windows.h>

#include <memory>

#include "project/vehicle_project.h"

constexpr int kEnvironmentDialogTemplate = 141;
constexpr int kWorkshopNameControl = 1147;

// What the start-up tells the user when it ends for lack of a name.
inline constexpr wchar_t kWorkshopCancelledNotice[] =
    L"工房名が設定されなかったため、終了します。\n次回の起動時に工房名を設定してください。";
inline constexpr wchar_t kWorkshopUnreadableNotice[] =
    L"レジストリに保存されている工房名を読み込めませんでした。\n"
    L"工房名は変更できないため、終了します。\n"
    L"HKEY_CURRENT_USER\\Software\\O.RVELL\\APP\\zek5railwick の値 MAKER を確認してください。";

struct EnvironmentDialogData {
  HINSTANCE instance = nullptr;
  int result = 0;  // 1 after OK, 0 after cancel
  bool editable = false;
  decltype(VehicleProject::maker)* maker = nullptr;
};

INT_PTR CALLBACK EnvironmentDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The menu's environment dialog: the name can be typed only while the
// project has none. Writes nothing to the registry. Returns the result.
int ShowEnvironmentDialog(HINSTANCE instance, HWND owner, VehicleProject& project);

// How the registry holds the workshop name.
enum class StoredWorkshopName {
  kNone,        // no key, no value, or an empty one: ask for it
  kFound,       // in the buffer, terminated
  kUnreadable,  // there, but of the wrong type, too long or not readable
};
StoredWorkshopName ReadStoredWorkshopName(wchar_t (&buffer)[64]);

// The start-up step: makes the program's project and gives it its workshop
// name, from the registry or, at the first start, from the environment
// dialog owned by `owner`, then stores it. E_FAIL when the user cancels or
// the stored name cannot be read; the user has been told why.
HRESULT CreateProjectAndWorkshop(HINSTANCE instance, HWND owner, std::unique_ptr<VehicleProject>& project);
