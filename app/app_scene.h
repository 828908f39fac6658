// The object behind the frame's client area: the live preview of the
// vehicle the last Make data compiled, with camera, light, effects, text
// and line overlays and the status line; the mouse drags and keys that move
// and switch it; numbered screenshots; and the project with the menu
// commands that work on it.
#pragma once
#include <d3d9.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/scene_host.h"
#include "compiler/vehicle_compiler.h"
#include "dialogs/menu_commands_win.h"
#include "platform/resource_pack.h"
#include "preview/preview_view.h"
#include "preview/scene_clock.h"
#include "preview/vehicle_draw_list.h"
#include "project/vehicle_project.h"

class CDXRenderer;
class CDXLight;
class CIMLine;
class CIMLine3D;
class CameraRig;
class EffectSet;
class TextOverlay;
class TransientLine;
class D3DPreviewFactory;
class LiveWatch;

constexpr float kPreviewFieldOfView = 90.0f;  // degrees; the camera's vertical angle is half
constexpr UINT kSceneLineCapacity = 15000;

// What the scene starts from; the window, host, renderer and resource pack
// outlive the scene.
struct SceneSetting {
  HWND window = nullptr;
  SceneHost* host = nullptr;
  CDXRenderer* renderer = nullptr;
  HINSTANCE instance = nullptr;
  ResourcePack* resource_pack = nullptr;  // the effects and the overlay font's name
};

class AppScene : public MenuHost {
 public:
  AppScene();
  ~AppScene();
  AppScene(const AppScene&) = delete;
  AppScene& operator=(const AppScene&) = delete;

  // Scene start-up on the frame's window, ending with the workshop name
  // (asked for at the first start). S_OK or E_FAIL.
  HRESULT Init(const SceneSetting& setting);
  // Releases everything Init made, the project and the compiled vehicle.
  // Safe to call twice.
  void Destroy();

  // S_OK when a frame was drawn; E_FAIL when not ready or Esc closed the window.
  HRESULT DrawFrame();

  // Mouse drags and keys from the frame. Without a compiled vehicle there
  // is nothing to move or switch, and they are ignored.
  void BeginDrag(int x, int y);
  void OnDrag(int x, int y, UINT keys, bool commit);
  bool HasCompiledVehicle() const { return vehicle_ != nullptr; }
  void OnKeyDown(UINT virtual_key);
  // Esc pressed in the main window closes it; a key still held from a dialog
  // or message box it closed only repeats, and is ignored.
  void OnEscapeKey(bool repeat);

  // Menu commands (the frame handles Exit itself) and dropped files.
  void OnMenuCommand(HWND window, int id, HWND control, UINT code);
  int LoadDroppedFile(const wchar_t* path);
  // Before the window closes: unsaved edits are settled; false keeps it open.
  bool ConfirmClose(HWND window);

  // What the menu works on: the project, the compiled vehicle that another
  // project drops, Make data and the environment dialog.
  VehicleProject& Project() override { return *project_; }
  void DiscardCompiledVehicle() override;
  void MakeData(HWND owner) override;
  void ShowEnvironment(HWND owner) override;
  std::vector<std::u16string> ReadRecentProjects() override;
  void WriteRecentProjects(const std::vector<std::u16string>& paths) override;
  // The File menu is about to open.
  void OnFileMenuOpening(HMENU file_menu);

  // Live preview: a build in memory of the open project, at once (F5) and,
  // while 自動更新 is on, after every settled save of a file it is made
  // from. A failed build keeps the vehicle shown and says why on a line
  // of its own.
  void LiveBuildNow();
  // How many live builds have run since the start.
  uint32_t LiveBuildCount() const { return live_builds_; }

  // After a device reset or resize.
  HRESULT RecreateEffectTargets();

  // Whether frames may be drawn: off while the device is released, reset or
  // minimised, and once Esc has asked the window to close.
  void SetReady(bool ready) { ready_ = ready; }
  // Scene time in ms of the frame last drawn.
  uint32_t Clock() const { return clock_.value; }
  // On minimising: the scene clock stands until the window is back.
  void SuspendClock() { PauseSceneClock(clock_); }

  // The view of the compiled vehicle; null without one.
  const PreviewView* View() const;

 private:
  // The compiler of the last Make data and what the user did to its preview.
  struct PreviewVehicle {
    std::unique_ptr<VehicleCompiler> compiler;
    PreviewView view;
  };

  void KeepCompiler(std::unique_ptr<VehicleCompiler> compiler);
  // Live preview (live_preview.cpp).
  void StartLivePreview();
  void StopLivePreview();
  // Watches the files of the open project, or none while 自動更新 is off.
  void RefreshLiveWatch();
  // The live build the watcher asked for, if any; on the window's thread.
  void TakeDueLiveBuild();
  // Handles the popup's commands; false for any other id.
  bool OnLiveCommand(HWND window, int id);
  // 自動更新 on or off: the menu's check mark, the registry, the watch.
  void SetLiveUpdating(bool on);
  void HandleScreenshotKey(bool active);
  void ReportScreenshotFailure();
  void DrawOverlaysAndLines(IDirect3DDevice9* device);

  HWND window_ = nullptr;
  SceneHost* host_ = nullptr;
  CDXRenderer* renderer_ = nullptr;
  HINSTANCE instance_ = nullptr;
  ResourcePack* resource_pack_ = nullptr;
  bool ready_ = false;
  std::unique_ptr<CameraRig> rig_;
  std::unique_ptr<CDXLight> light_;
  uint32_t screenshot_counter_ = 0;  // the next number to try
  bool screenshot_key_held_ = false;
  std::wstring screenshot_failure_;  // the path a capture could not be saved to
  std::unique_ptr<TransientLine> screenshot_line_;  // the name of the screenshot just saved
  bool closing_by_escape_ = false;   // Esc asked to close; a cancelled close draws on
  std::unique_ptr<VehicleProject> project_;
  std::unique_ptr<PreviewVehicle> vehicle_;
  std::unique_ptr<MenuCommands> menu_;

  SceneClock clock_;
  float field_of_view_ = kPreviewFieldOfView;
  FrameDurations durations_;
  uint32_t draw_counter_ = 0;
  std::unique_ptr<EffectSet> effects_;
  std::unique_ptr<CIMLine> lines_2d_;
  std::unique_ptr<CIMLine3D> lines_3d_;
  std::unique_ptr<TextOverlay> overlays_[2];
  DragState drag_;
  std::unique_ptr<D3DPreviewFactory> factory_;
  std::vector<DrawOp> draw_ops_;

  std::unique_ptr<LiveWatch> live_watch_;
  std::atomic<bool> live_due_{false};  // set by the watching thread
  bool live_updating_ = true;
  std::u16string live_failure_;  // the overlay line of the last failed live build
  std::u16string live_report_;   // the log of the last live build
  bool live_report_made_ = false;
  uint32_t live_builds_ = 0;
};
