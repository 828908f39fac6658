// The live preview: the open project built again in memory whenever one of
// its files is saved, so the author sees his modeler's work without Make
// data. The files are watched on a thread of its own, which only raises a
// flag; the build runs on the window's thread between frames.
#include <windows.h>

#include "app/app_scene.h"
#include "app/registry_settings.h"
#include "compiler/preview_objects.h"
#include "datamake/live_build.h"
#include "datamake/make_data_win.h"
#include "platform/live_watch.h"
#include "render/preview_factory_win.h"
#include "res/resource.h"

namespace {

constexpr wchar_t kLiveUpdateValue[] = L"LiveUpdate";
// A save has settled after this long without a write; a file written on
// and on still builds this long after its first write.
constexpr int kSettleQuietMs = 150;
constexpr int kSettleLongestMs = 1000;

}  // namespace

void AppScene::StartLivePreview() {
  live_updating_ = ReadRegistryDword(kLiveUpdateValue, 1) != 0;
  CheckMenuItem(GetMenu(window_), IDM_LIVE_AUTO, live_updating_ ? MF_CHECKED : MF_UNCHECKED);
  HWND window = window_;
  live_watch_ = std::make_unique<LiveWatch>(
      [this, window] {
        live_due_ = true;
        PostMessageW(window, WM_NULL, 0, 0);  // a loop waiting for messages looks again
      },
      kSettleQuietMs, kSettleLongestMs);
  RefreshLiveWatch();
}

void AppScene::StopLivePreview() {
  live_watch_.reset();
}

void AppScene::RefreshLiveWatch() {
  if (!live_watch_) return;
  if (!live_updating_ || !project_ || !menu_) {
    live_watch_->SetFiles({});
    return;
  }
  live_watch_->SetFiles(LiveWatchFiles(*project_, menu_->Session().CurrentPath()));
}

void AppScene::TakeDueLiveBuild() {
  if (live_due_.exchange(false) && live_updating_) LiveBuildNow();
}

void AppScene::LiveBuildNow() {
  if (!project_) return;
  // The project file itself saved by another editor: build what it holds.
  if (menu_ && menu_->Session().TakeFileFromDisk()) menu_->ShowProjectState(window_);
  LiveBuild build = RunLiveBuild(*project_, factory_.get());
  live_report_ = build.report;
  live_report_made_ = true;
  live_failure_ = LiveFailureLine(build);
  if (build.compiler) {
    AttachGuideLines(*build.compiler);
    // The same vehicle again: it stays where the user put it, as he
    // switched it, and a drag in progress goes on.
    auto vehicle = std::make_unique<PreviewVehicle>();
    vehicle->view = vehicle_ ? CarryPreviewView(vehicle_->view, build.compiler->preview)
                             : InitialPreviewView(build.compiler->preview);
    vehicle->compiler = std::move(build.compiler);
    if (vehicle_) ResetCompiler(*vehicle_->compiler);
    vehicle_ = std::move(vehicle);
  }
  ++live_builds_;
  // A model may now name another material library or texture.
  RefreshLiveWatch();
}

void AppScene::SetLiveUpdating(bool on) {
  live_updating_ = on;
  WriteRegistryDword(kLiveUpdateValue, on ? 1 : 0);
  CheckMenuItem(GetMenu(window_), IDM_LIVE_AUTO, on ? MF_CHECKED : MF_UNCHECKED);
  if (!on) live_failure_.clear();
  RefreshLiveWatch();
  // Switched on again: the preview catches up with what was saved meanwhile.
  if (on && menu_ && !menu_->Session().CurrentPath().empty()) LiveBuildNow();
}

bool AppScene::OnLiveCommand(HWND window, int id) {
  switch (id) {
    case IDM_LIVE_AUTO:
      SetLiveUpdating(!live_updating_);
      return true;
    case IDM_LIVE_BUILD:
      LiveBuildNow();
      return true;
    case IDM_LIVE_REPORT:
      // Without a live build yet, one is made for the report.
      if (!live_report_made_) LiveBuildNow();
      ShowReportDialog(instance_, window, live_report_);
      return true;
    default:
      return false;
  }
}
