// The frame's decisions about its window size and its device, apart from
// Win32 and Direct3D: a resize reaches the device only once the window has
// kept its size a while, and a lost device is reset from the idle step until
// it is back. The frame carries them out through FrameActions.
#pragma once
#include <cstdint>

// A resize waits until the window has kept its size this long (scene time).
constexpr uint32_t kResizeSettleMs = 101;
// The pause of an idle step while the device is lost.
constexpr uint32_t kLostDevicePauseMs = 50;

enum class DeviceState { kUsable, kNeedsReset, kLost };
enum class DeviceReset { kDone, kFailed, kDriverInternalError };
enum class SizeChange { kShown, kMinimised, kHiddenByMaximise };
enum class IdleDecision {
  kNothing,    // not running, or the device is not usable this step
  kDrawFrame,  // the device is usable: draw (paced) a frame
  kFatal,      // the driver failed inside a reset: the program ends
};

// What the upkeep does to the renderer and the scene.
class FrameActions {
 public:
  virtual ~FrameActions() = default;
  virtual DeviceState CheckDeviceState() = 0;
  // Every device object, before a reset.
  virtual void ReleaseDeviceObjects() = 0;
  // Resets the device with its own size, or with the client area's size.
  virtual DeviceReset ResetDevice() = 0;
  virtual DeviceReset ResizeDevice() = 0;
  // Every device object after a reset; false when one fails.
  virtual bool RestoreDeviceObjects() = 0;
  virtual void RecreateEffectTargets() = 0;
  // Whether the scene may draw.
  virtual void SetSceneReady(bool ready) = 0;
  // Minimised: the scene draws nothing and its clock stands.
  virtual void PauseScene() = 0;
  virtual void Pause(uint32_t ms) = 0;
};

class FrameUpkeep {
 public:
  // The message loop runs; off while the device is resized and once the
  // window closes.
  bool running = false;
  // The window is shown (not minimised); the message loop polls.
  bool active = false;

  // A size message at scene time `now`. Minimising pauses the scene; a shown
  // window, while running, waits for its size to settle.
  void OnSizeChange(SizeChange change, uint32_t now, FrameActions& actions);
  // One idle step at scene time `now`: the settled resize, then the device's
  // state, resetting a device that asks for it.
  IdleDecision Idle(uint32_t now, FrameActions& actions);

 private:
  void ResizeDevice(FrameActions& actions);
  // false when the driver failed inside the reset.
  bool ResetLostDevice(FrameActions& actions);

  bool resize_pending_ = false;
  uint32_t last_size_time_ = 0;
};
