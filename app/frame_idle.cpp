// The frame's idle step: one preview frame, the debounced device resize and
// the recovery of a lost device.
#include <windows.h>
// clang-format off
#include <mmsystem.h>
// clang-format on

#include "app/app_scene.h"
#include "app/frame.h"
#include "preview/scene_clock.h"
#include "render/renderer_win.h"

namespace {

// A resize waits until the window has kept its size this long (scene time).
constexpr uint32_t kResizeSettleMs = 101;

}  // namespace

HRESULT CFrame::IdleStep() {
  if (!running_ || !renderer_ || !scene_) return S_OK;

  if (resize_pending_) {
    if (scene_->Clock() - last_size_time_ < kResizeSettleMs) {
      RECT outer = {};
      GetWindowRect(window_, &outer);
      scene_->NoteWindowSize(scene_->Clock(), outer.right - outer.left, outer.bottom - outer.top);
    } else {
      resize_pending_ = false;
      ResizeDevice();
    }
  }

  switch (renderer_->CheckDeviceState()) {
    case kDeviceUsable: {
      // Not faster than the display shows them, also where presenting does
      // not wait for it; a message ends the wait at once.
      const DWORD now = timeGetTime();
      if (const uint32_t wait = FramePacingWait(last_frame_start_, now, refresh_hz_)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
        return S_OK;
      }
      last_frame_start_ = now;
      if (SUCCEEDED(scene_->DrawFrame())) CountFrame();
      return S_OK;
    }
    case kDeviceNeedsReset:
      Sleep(50);
      return ResetLostDevice();
    default:  // lost, not yet resettable
      Sleep(50);
      return S_OK;
  }
}

void CFrame::ResizeDevice() {
  running_ = false;
  scene_->SetReady(false);
  renderer_->ReleaseAllDeviceObjects();
  RECT client = {};
  GetClientRect(window_, &client);
  client_width_ = client.right - client.left;
  client_height_ = client.bottom - client.top;
  // A failed reset leaves the device marked lost; the lost-device path of the
  // next idle steps retries it and restores the objects.
  if (SUCCEEDED(renderer_->SetBackBufferSize(client_width_, client_height_)) &&
      SUCCEEDED(renderer_->RestoreAllDeviceObjects())) {
    if (effects_enabled_) scene_->RecreateEffectTargets();
    scene_->SetReady(true);
  }
  running_ = true;
}

HRESULT CFrame::ResetLostDevice() {
  scene_->SetReady(false);
  renderer_->ReleaseAllDeviceObjects();
  HRESULT hr = renderer_->ResetDevice();
  if (hr == D3DERR_DRIVERINTERNALERROR) return E_FAIL;
  if (FAILED(hr)) return S_OK;  // still lost: tried again on a later step
  if (FAILED(renderer_->RestoreAllDeviceObjects())) return S_OK;
  if (effects_enabled_) scene_->RecreateEffectTargets();
  scene_->SetReady(true);
  active_ = true;
  return S_OK;
}

void CFrame::CountFrame() {
  ++fps_frames_;
  DWORD now = timeGetTime();
  if (fps_last_time_ == 0) fps_last_time_ = now;
  DWORD elapsed = now - fps_last_time_;
  if (elapsed > 1000) {
    frames_per_second_ = static_cast<float>(fps_frames_ / (elapsed * 0.001));
    fps_frames_ = 0;
    fps_last_time_ = now;
  }
}
