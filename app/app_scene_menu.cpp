// The scene's side of the menu: the one project, the compiled vehicle the
// menu replaces or drops, and the question before the window closes.
#include <memory>

#include "app/app_scene.h"
#include "app/registry_settings.h"
#include "compiler/vehicle_compiler.h"
#include "datamake/make_data.h"
#include "dialogs/dialog_window_win.h"
#include "project/vehicle_project.h"
#include "res/dialog_ids.h"

namespace {

// The environment dialog as the menu shows it: the workshop name, which
// cannot change once decided.
INT_PTR CALLBACK EnvironmentViewProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    const auto* project = reinterpret_cast<const VehicleProject*>(lparam);
    SetDlgItemTextW(dialog, IDC_WORKSHOP_NAME, WideText(project->maker.str()));
    EnableWindow(GetDlgItem(dialog, IDC_WORKSHOP_NAME), FALSE);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wparam) == IDOK ? 1 : 0);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

HRESULT AppScene::CreateProjectAndMenu(HINSTANCE instance) {
  project_ = std::make_unique<VehicleProject>();
  ResetProject(*project_);
  wchar_t maker[kWorkshopNameUnits] = {};
  ReadWorkshopName(maker);
  project_->maker.Set(FromWide(maker));
  menu_ = std::make_unique<MenuCommands>(instance, *this);
  return S_OK;
}

void AppScene::DestroyProjectAndMenu() {
  menu_.reset();
  compiler_.reset();
  project_.reset();
}

VehicleProject& AppScene::Project() {
  return *project_;
}

void AppScene::DiscardCompiledVehicle() {
  compiler_.reset();
}

void AppScene::MakeData(HWND owner) {
  MessageBoxNotifier notifier(owner);
  MakeDataResult run = RunMakeData(*project_, MakeDataOptions{}, notifier);
  if (run.compiler) compiler_ = std::move(run.compiler);
  if (run.log && run.compile_result != kResultOk)
    MessageBoxW(owner, WideText(run.log->text), L"report", MB_OK | MB_ICONERROR);
}

void AppScene::ShowEnvironment(HWND owner) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ENVIRONMENT), owner, EnvironmentViewProc,
                  reinterpret_cast<LPARAM>(project_.get()));
}

void AppScene::OnMenuCommand(HWND window, int id, HWND, UINT) {
  if (menu_) menu_->OnCommand(window, id);
}

int AppScene::LoadDroppedFile(const wchar_t* path) {
  if (menu_) menu_->LoadDroppedFile(window_, path);
  return 0;
}

bool AppScene::ConfirmClose(HWND window) {
  const bool close = !menu_ || menu_->MayClose(window);
  // A close that Esc asked for and the user cancelled: the preview goes on.
  if (!close && closing_by_escape_) ready_ = true;
  closing_by_escape_ = false;
  return close;
}
