// What the user does to the scene: drags and preview keys on the compiled
// vehicle, and the menu commands that work on the project.
#include <windows.h>
// clang-format off
#include <commdlg.h>
// clang-format on

#include <algorithm>
#include <cwctype>

#include "app/app_globals.h"
#include "app/workshop_dialog.h"
#include "compiler/preview_state.h"
#include "datamake/make_data_win.h"
#include "platform/fs.h"
#include "preview/app_scene_win.h"
#include "project/project_file.h"
#include "render/preview_factory_win.h"
#include "res/resource.h"

namespace {

constexpr size_t kFilePathUnits = 260;  // and the terminator

// The project's relative paths name files beside it, and Make data writes
// its script there: its folder becomes the current folder, as the file
// dialog makes it when the user goes there.
void EnterProjectFolder(const std::u16string& path) {
  const std::u16string folder = FsSplitPath(FsAbsolute(path)).folder;
  if (!folder.empty()) FsSetCurrentDirectory(folder);
}

bool HasXmlExtension(const std::u16string& path) {
  std::u16string ext = FsSplitPath(path).ext;
  for (char16_t& c : ext)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return ext == u".xml";
}

}  // namespace

const PreviewView* AppScene::View() const {
  return vehicle_ ? &vehicle_->view : nullptr;
}

void AppScene::SetCurrentFile(const std::u16string& path) {
  current_file_ = path.substr(0, kFilePathUnits);
}

void AppScene::KeepCompiler(std::unique_ptr<VehicleCompiler> compiler) {
  DropCompiledVehicle();
  auto vehicle = std::make_unique<PreviewVehicle>();
  // A new vehicle stands in its initial place with its initial switches.
  vehicle->view = InitialPreviewView(compiler->preview);
  vehicle->compiler = std::move(compiler);
  vehicle_ = std::move(vehicle);
}

void AppScene::DropCompiledVehicle() {
  drag_.dragging = false;
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

void AppScene::MakeDataCommand(HWND owner) {
  if (!project_) return;
  MakeData(*project_, App().instance, owner, factory_.get(),
           [this](std::unique_ptr<VehicleCompiler> compiler) { KeepCompiler(std::move(compiler)); });
}

void AppScene::OpenProjectCommand(HWND owner) {
  if (!project_) return;
  wchar_t path[kFilePathUnits + 1] = {};
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = L"車両設定(*.xml)\0*.xml\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = kFilePathUnits + 1;
  dialog.lpstrTitle = L"ファイル選択";
  dialog.lpstrDefExt = L"xml";
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&dialog)) return;
  DropCompiledVehicle();
  const std::u16string chosen(reinterpret_cast<const char16_t*>(path));
  EnterProjectFolder(chosen);
  ReadProjectFile(*project_, chosen);
  SetCurrentFile(chosen);
}

void AppScene::OnMenuCommand(HWND window, int id, HWND, UINT) {
  if (!project_) return;
  switch (id) {
    case IDM_FILE_NEW:
      ResetProject(*project_);
      DropCompiledVehicle();
      current_file_.clear();
      break;
    case IDM_FILE_OPEN:
      OpenProjectCommand(window);
      break;
    case IDM_MAKE_DATA:
      MakeDataCommand(window);
      break;
    case IDM_ENVIRONMENT:
      ShowEnvironmentDialog(App().instance, window, *project_);
      break;
    default:
      break;
  }
}

int AppScene::LoadDroppedFile(const wchar_t* path) {
  const std::u16string name(reinterpret_cast<const char16_t*>(path));
  if (!project_ || !HasXmlExtension(name)) return 0;
  DropCompiledVehicle();
  EnterProjectFolder(name);
  ReadProjectFile(*project_, name);
  SetCurrentFile(name);
  return 0;
}
