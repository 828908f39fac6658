// What the user does to the scene: drags and preview keys on the compiled
// vehicle, and the menu, which works on the scene's project.
#include <windows.h>

#include <algorithm>

#include "app/app_scene.h"
#include "app/registry_settings.h"
#include "app/workshop_dialog.h"
#include "compiler/preview_state.h"
#include "datamake/make_data_win.h"
#include "render/preview_factory_win.h"

const PreviewView* AppScene::View() const {
  return vehicle_ ? &vehicle_->view : nullptr;
}

void AppScene::KeepCompiler(std::unique_ptr<VehicleCompiler> compiler) {
  DiscardCompiledVehicle();
  auto vehicle = std::make_unique<PreviewVehicle>();
  // A new vehicle stands in its initial place with its initial switches.
  vehicle->view = InitialPreviewView(compiler->preview);
  vehicle->compiler = std::move(compiler);
  vehicle_ = std::move(vehicle);
}

void AppScene::DiscardCompiledVehicle() {
  drag_.dragging = false;
  // What live builds said was of the vehicle that goes.
  live_failure_.clear();
  live_report_made_ = false;
  if (!vehicle_) return;
  ResetCompiler(*vehicle_->compiler);
  vehicle_.reset();
}

void AppScene::BeginDrag(int x, int y) {
  ::BeginDrag(drag_, x, y);
}

void AppScene::OnDrag(int x, int y, UINT keys, bool commit) {
  if (!vehicle_) {
    if (commit) drag_.dragging = false;
    return;
  }
  ApplyDrag(vehicle_->view, drag_, x, y, keys, commit);
}

void AppScene::OnKeyDown(UINT virtual_key) {
  if (!vehicle_) return;
  const uint32_t head_marks = std::min<uint32_t>(vehicle_->compiler->preview.head_mark_count, kMaxHeadMarks);
  ApplyPreviewKey(vehicle_->view, virtual_key, head_marks);
}

void AppScene::MakeData(HWND owner) {
  if (!project_) return;
  ::MakeData(*project_, instance_, owner, factory_.get(),
             [this](std::unique_ptr<VehicleCompiler> compiler) { KeepCompiler(std::move(compiler)); });
}

void AppScene::ShowEnvironment(HWND owner) {
  if (project_) ShowEnvironmentDialog(instance_, owner, *project_);
}

std::vector<std::u16string> AppScene::ReadRecentProjects() {
  return ::ReadRecentProjects();
}

void AppScene::WriteRecentProjects(const std::vector<std::u16string>& paths) {
  ::WriteRecentProjects(paths);
}

void AppScene::OnFileMenuOpening(HMENU file_menu) {
  if (menu_) menu_->ListRecentProjects(file_menu);
}

void AppScene::OnMenuCommand(HWND window, int id, HWND, UINT) {
  if (OnLiveCommand(window, id)) return;
  if (menu_) menu_->OnCommand(window, id);
  // Open, New, Save and the dialogs may change which files make the vehicle.
  RefreshLiveWatch();
}

int AppScene::LoadDroppedFile(const wchar_t* path) {
  if (menu_) menu_->LoadDroppedFile(window_, path);
  RefreshLiveWatch();
  return 0;
}

bool AppScene::ConfirmClose(HWND window) {
  const bool close = !menu_ || menu_->MayClose(window);
  // A close that Esc asked for and the user cancelled: the preview goes on.
  if (!close && closing_by_escape_) ready_ = true;
  closing_by_escape_ = false;
  return close;
}
