#include "app/frame_upkeep.h"

void FrameUpkeep::OnSizeChange(SizeChange change, uint32_t now, FrameActions& actions) {
  if (change != SizeChange::kShown) {
    active = false;
    if (change == SizeChange::kMinimised) actions.PauseScene();
    return;
  }
  active = true;
  // While the device is resized its own size messages are not resizes.
  if (running) {
    resize_pending_ = true;
    last_size_time_ = now;
  }
}

IdleDecision FrameUpkeep::Idle(uint32_t now, FrameActions& actions) {
  if (!running) return IdleDecision::kNothing;
  if (resize_pending_ && now - last_size_time_ >= kResizeSettleMs) {
    resize_pending_ = false;
    ResizeDevice(actions);
  }
  switch (actions.CheckDeviceState()) {
    case DeviceState::kUsable:
      return IdleDecision::kDrawFrame;
    case DeviceState::kNeedsReset:
      actions.Pause(kLostDevicePauseMs);
      return ResetLostDevice(actions) ? IdleDecision::kNothing : IdleDecision::kFatal;
    case DeviceState::kLost:
      break;  // not yet resettable
  }
  actions.Pause(kLostDevicePauseMs);
  return IdleDecision::kNothing;
}

void FrameUpkeep::ResizeDevice(FrameActions& actions) {
  running = false;
  actions.SetSceneReady(false);
  actions.ReleaseDeviceObjects();
  // A failed reset leaves the device marked lost; the lost-device path of the
  // next idle steps retries it and restores the objects.
  if (actions.ResizeDevice() == DeviceReset::kDone && actions.RestoreDeviceObjects()) {
    actions.RecreateEffectTargets();
    actions.SetSceneReady(true);
  }
  running = true;
}

bool FrameUpkeep::ResetLostDevice(FrameActions& actions) {
  actions.SetSceneReady(false);
  actions.ReleaseDeviceObjects();
  const DeviceReset reset = actions.ResetDevice();
  if (reset == DeviceReset::kDriverInternalError) return false;
  // Still lost, or an object failed: tried again on a later step.
  if (reset != DeviceReset::kDone || !actions.RestoreDeviceObjects()) return true;
  actions.RecreateEffectTargets();
  actions.SetSceneReady(true);
  active = true;
  return true;
}
