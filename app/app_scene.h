// The object behind the frame's client area. This first form clears the
// preview, keeps the scene clock and the frame statistics, draws the status
// line and takes the numbered screenshots; the vehicle preview, its effects
// and the project join it later behind the same operations.
#pragma once
#include <windows.h>

#include <cstdint>

class CFrame;
class CDXRenderer;
class CDXFont;

class AppScene {
 public:
  AppScene() = default;
  ~AppScene();
  AppScene(const AppScene&) = delete;
  AppScene& operator=(const AppScene&) = delete;

  // Scene start-up on the frame's window; S_OK or E_FAIL.
  HRESULT Init(HWND window, CFrame* frame, CDXRenderer* renderer);
  // Releases everything Init made. Safe to call twice.
  void Destroy();

  // S_OK when a frame was drawn; E_FAIL when not ready or Esc closed the window.
  HRESULT DrawFrame();

  // Mouse drags and keys from the frame.
  void BeginDrag(int x, int y);
  void OnDrag(int x, int y, UINT keys, bool commit);
  bool HasCompiledVehicle() const { return false; }
  void OnKeyDown(UINT virtual_key);

  // Menu commands and dropped files (the frame handles Exit itself).
  void OnMenuCommand(HWND window, int id, HWND control, UINT code);
  int LoadDroppedFile(const wchar_t* path);

  // After a device reset or resize.
  HRESULT RecreateEffectTargets() { return S_OK; }

  bool Ready() const { return ready_; }
  void SetReady(bool ready) { ready_ = ready; }
  void SetFocus(bool focus) { focus_ = focus; }
  // The outer size noted while a resize is pending.
  void NoteWindowSize(uint32_t time, int width, int height);
  // Scene time in ms of the frame last drawn.
  uint32_t Clock() const { return clock_; }
  // On minimising: the resume offset becomes the current scene time.
  void SuspendClock() { resume_offset_ = clock_; }
  uint32_t ScreenshotCount() const { return screenshot_counter_; }

 private:
  void HandleScreenshotKey(bool active);

  HWND window_ = nullptr;
  CFrame* frame_ = nullptr;
  CDXRenderer* renderer_ = nullptr;
  CDXFont* status_font_ = nullptr;
  bool ready_ = false;
  bool focus_ = false;
  uint32_t clock_ = 0;
  uint32_t start_time_ = 0;
  uint32_t resume_offset_ = 0;
  uint32_t frame_time_ = 0;
  uint32_t screenshot_counter_ = 0;
  bool screenshot_key_held_ = false;
  bool escape_handled_ = false;
  uint32_t resize_time_ = 0;
  int resize_width_ = 0, resize_height_ = 0;
  // Frame durations in ms.
  uint32_t last_duration_ = 0, min_duration_ = 9999, max_duration_ = 0;
  uint32_t draw_counter_ = 0;
  bool dragging_ = false;
  float drag_start_x_ = 0, drag_start_y_ = 0;
};
