// The main window. It owns the renderer and the scene, sizes itself from the
// screen, keeps its handle in the registry for the single-instance check,
// debounces resizes, survives a lost device (both decided by FrameUpkeep),
// passes drags and keys to the scene, hands a dropped project file to it,
// and takes screenshots.
#pragma once
#include <d3d9.h>
#include <shellapi.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/frame_upkeep.h"
#include "app/scene_host.h"
#include "app/window.h"
#include "platform/resource_pack.h"

class AppScene;
class CDXRenderer;

constexpr wchar_t kFrameClassName[] = L"ZEK5RLWCK";
constexpr wchar_t kFrameCaption[] = L"ZEK RAILWICK";
constexpr UINT kActivateInstanceMessage = WM_USER + 100;  // 0x0464, from a second start
constexpr int kExitCommand = 105;
constexpr int kFrameIconResource = 111;
constexpr int kFrameMenuResource = 106;

// What start-up needs to choose its notice after a failed creation.
struct FrameStartupFlags {
  bool shader_check_enabled = true;
  bool shader_check_failed = false;
  bool fatal_hardware_problem = false;
  DWORD fatal_code = 0;
};

class CFrame : public CWindow, public SceneHost, private FrameActions {
 public:
  // The resource pack outlives the frame; the scene loads from it.
  CFrame(HINSTANCE instance, ResourcePack* resource_pack);
  ~CFrame() override;
  CFrame(const CFrame&) = delete;
  CFrame& operator=(const CFrame&) = delete;

  // 1 when the window, the device and the scene exist; 0 otherwise, and then
  // no window is left pointing at this object.
  int Create(int show_command);
  // 0, or E_FAIL when the device reported an internal driver error on reset
  // (the caller shows the fatal message and closes).
  HRESULT IdleStep();
  // Saves the frame just drawn as "<picture folder>\<base name>.bmp".
  HRESULT TakeScreenshot(const wchar_t* file_name) override;
  std::wstring ScreenshotPath(const wchar_t* file_name) const override;
  float FramesPerSecond() const override { return frames_per_second_; }

  HWND Window() const { return window_; }
  CDXRenderer* Renderer() const { return renderer_; }
  AppScene* Scene() const { return scene_; }
  bool Active() const { return upkeep_.active; }
  bool Running() const { return upkeep_.running; }
  void SetRunning(bool running) { upkeep_.running = running; }
  const D3DCAPS9& DeviceCaps() const { return device_caps_; }
  static FrameStartupFlags& StartupFlags();

  // Handlers this window overrides.
  LRESULT OnLButtonDown(HWND window, BOOL double_click, int x, int y, UINT keys) override;
  LRESULT OnLButtonUp(HWND window, int x, int y, UINT keys) override;
  LRESULT OnRButtonDown(HWND window, BOOL double_click, int x, int y, UINT keys) override;
  LRESULT OnRButtonUp(HWND window, int x, int y, UINT keys) override;
  LRESULT OnMButtonDown(HWND window, BOOL double_click, int x, int y, UINT keys) override;
  LRESULT OnMButtonUp(HWND window, int x, int y, UINT keys) override;
  LRESULT OnMouseMove(HWND window, int x, int y, UINT keys) override;
  LRESULT OnMouseWheel(HWND window, int x, int y, int delta, UINT keys) override;
  LRESULT OnKey(HWND window, UINT virtual_key, BOOL down, int repeat, UINT key_flags) override;
  LRESULT OnMouseActivate(HWND window, HWND top_level, UINT hit_test, UINT mouse_message) override;
  LRESULT OnPaint(HWND window) override;
  LRESULT OnSize(HWND window, UINT size_type, int width, int height) override;
  LRESULT OnGetMinMaxInfo(HWND window, MINMAXINFO* info) override;
  LRESULT OnSetCursor(HWND window, HWND cursor_window, UINT hit_test, UINT mouse_message) override;
  LRESULT OnContextMenu(HWND window, HWND clicked, int x, int y) override;
  LRESULT OnCommand(HWND window, int id, HWND control, UINT code) override;
  LRESULT OnActivate(HWND window, UINT state, HWND other, BOOL minimised) override;
  LRESULT OnExitSizeMove(HWND window) override;

 private:
  friend LRESULT CALLBACK FrameWindowProc(HWND, UINT, WPARAM, LPARAM);
  void OnClose();
  void OnDropFiles(HDROP drop);
  void RecordMouse(int x, int y);
  void DestroyScene();
  void CountFrame();
  // What FrameUpkeep does to the renderer and the scene (frame_idle.cpp).
  DeviceState CheckDeviceState() override;
  void ReleaseDeviceObjects() override;
  DeviceReset ResetDevice() override;
  DeviceReset ResizeDevice() override;
  bool RestoreDeviceObjects() override;
  void RecreateEffectTargets() override;
  void SetSceneReady(bool ready) override;
  void PauseScene() override;
  void Pause(uint32_t ms) override;
  void PushWaitCursor();
  void PopWaitCursor();

  HINSTANCE instance_;
  ResourcePack* resource_pack_;
  HWND window_ = nullptr;
  CDXRenderer* renderer_ = nullptr;
  FrameUpkeep upkeep_;
  int mouse_x_ = 0, mouse_y_ = 0;
  int first_mouse_x_ = 0, first_mouse_y_ = 0;
  int wheel_delta_ = 0;
  unsigned mouse_buttons_ = 0;  // bit 0 left, bit 1 right
  bool first_mouse_ = true;
  AppScene* scene_ = nullptr;
  bool mouse_activation_pending_ = false;
  bool activation_click_in_client_ = false;
  bool windowed_ = true;
  int default_width_ = 0, default_height_ = 0;
  float frames_per_second_ = 0;
  int client_width_ = 0, client_height_ = 0;
  int screen_width_ = 0, screen_height_ = 0;
  bool timer_raised_ = false;
  UINT timer_period_ = 0;
  D3DCAPS9 device_caps_ = {};
  // Frame counting for the frames per second.
  DWORD fps_last_time_ = 0;
  unsigned fps_frames_ = 0;
  // Frame pacing: the display's refresh rate and when the last frame began.
  uint32_t refresh_hz_ = 60;
  DWORD last_frame_start_ = 0;
  // Wait cursor nesting while a dropped file loads.
  int wait_cursor_depth_ = 0;
  HCURSOR previous_cursor_ = nullptr;
};

LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
