// The frame's idle step: one paced preview frame, and what FrameUpkeep's
// resize and lost-device decisions do to the renderer and the scene.
#include <windows.h>
// clang-format off
#include <mmsystem.h>
// clang-format on

#include "app/app_scene.h"
#include "app/frame.h"
#include "preview/scene_clock.h"
#include "render/renderer_win.h"

HRESULT CFrame::IdleStep() {
  if (!renderer_ || !scene_) return S_OK;
  switch (upkeep_.Idle(scene_->Clock(), *this)) {
    case IdleDecision::kFatal:
      return E_FAIL;
    case IdleDecision::kNothing:
      return S_OK;
    case IdleDecision::kDrawFrame:
      break;
  }
  // Not faster than the display shows them, also where presenting does not
  // wait for it; a message ends the wait at once.
  const DWORD now = timeGetTime();
  if (const uint32_t wait = FramePacingWait(last_frame_start_, now, refresh_hz_)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    return S_OK;
  }
  last_frame_start_ = now;
  if (SUCCEEDED(scene_->DrawFrame())) CountFrame();
  return S_OK;
}

DeviceState CFrame::CheckDeviceState() {
  switch (renderer_->CheckDeviceState()) {
    case kDeviceUsable:
      return DeviceState::kUsable;
    case kDeviceNeedsReset:
      return DeviceState::kNeedsReset;
    default:
      return DeviceState::kLost;
  }
}

void CFrame::ReleaseDeviceObjects() {
  renderer_->ReleaseAllDeviceObjects();
}

namespace {

DeviceReset AsDeviceReset(HRESULT hr) {
  if (hr == D3DERR_DRIVERINTERNALERROR) return DeviceReset::kDriverInternalError;
  return FAILED(hr) ? DeviceReset::kFailed : DeviceReset::kDone;
}

}  // namespace

DeviceReset CFrame::ResetDevice() {
  return AsDeviceReset(renderer_->ResetDevice());
}

DeviceReset CFrame::ResizeDevice() {
  RECT client = {};
  GetClientRect(window_, &client);
  client_width_ = client.right - client.left;
  client_height_ = client.bottom - client.top;
  return AsDeviceReset(renderer_->SetBackBufferSize(client_width_, client_height_));
}

bool CFrame::RestoreDeviceObjects() {
  return SUCCEEDED(renderer_->RestoreAllDeviceObjects());
}

void CFrame::RecreateEffectTargets() {
  scene_->RecreateEffectTargets();
}

void CFrame::SetSceneReady(bool ready) {
  scene_->SetReady(ready);
}

void CFrame::PauseScene() {
  if (!scene_) return;
  scene_->SetReady(false);
  scene_->SuspendClock();
}

void CFrame::Pause(uint32_t ms) {
  Sleep(ms);
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
