#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/frame_upkeep.h"

namespace {

// Answers from scripts (one letter per question; when used up: usable, done,
// restored) and a log of what the upkeep did.
class ScriptedFrame : public FrameActions {
 public:
  std::string states;    // U usable, R needs a reset, L lost
  std::string resets;    // d done, f failed, x driver error, s done with a size message inside
  std::string restores;  // y, n
  std::string log;
  FrameUpkeep* upkeep = nullptr;

  DeviceState CheckDeviceState() override {
    const char c = Next(states, 'U');
    return c == 'R' ? DeviceState::kNeedsReset : c == 'L' ? DeviceState::kLost : DeviceState::kUsable;
  }
  void ReleaseDeviceObjects() override { log += " release"; }
  DeviceReset ResetDevice() override { return Reset(" reset"); }
  DeviceReset ResizeDevice() override { return Reset(" resize"); }
  bool RestoreDeviceObjects() override {
    log += " restore";
    return Next(restores, 'y') == 'y';
  }
  void RecreateEffectTargets() override { log += " effects"; }
  void SetSceneReady(bool ready) override { log += ready ? " ready" : " unready"; }
  void PauseScene() override { log += " pause-scene"; }
  void Pause(uint32_t ms) override { log += " sleep" + std::to_string(ms); }

 private:
  static char Next(std::string& script, char otherwise) {
    if (script.empty()) return otherwise;
    const char c = script[0];
    script.erase(0, 1);
    return c;
  }
  DeviceReset Reset(const char* word) {
    log += word;
    const char c = Next(resets, 'd');
    if (c == 's') upkeep->OnSizeChange(SizeChange::kShown, 0, *this);  // the device's own size message
    return c == 'f' ? DeviceReset::kFailed : c == 'x' ? DeviceReset::kDriverInternalError : DeviceReset::kDone;
  }
};

// Events: run, show@T, min@T, hide@T, idle@T. Each event's log is its actions,
// then "draw"/"fatal" for an idle step and a change of `active` ("-" for
// none), events joined by " | ".
std::string RunEvents(const char* events, const char* states, const char* resets, const char* restores) {
  FrameUpkeep upkeep;
  ScriptedFrame frame;
  frame.states = states, frame.resets = resets, frame.restores = restores, frame.upkeep = &upkeep;
  std::istringstream in(events);
  std::string event, out;
  while (in >> event) {
    const bool was_active = upkeep.active;
    const size_t at = event.find('@');
    const uint32_t now = at == std::string::npos ? 0 : static_cast<uint32_t>(std::stoul(event.substr(at + 1)));
    const std::string name = event.substr(0, at);
    frame.log.clear();
    if (name == "run") upkeep.running = true;
    if (name == "show") upkeep.OnSizeChange(SizeChange::kShown, now, frame);
    if (name == "min") upkeep.OnSizeChange(SizeChange::kMinimised, now, frame);
    if (name == "hide") upkeep.OnSizeChange(SizeChange::kHiddenByMaximise, now, frame);
    if (name == "idle") {
      const IdleDecision decision = upkeep.Idle(now, frame);
      if (decision == IdleDecision::kDrawFrame) frame.log += " draw";
      if (decision == IdleDecision::kFatal) frame.log += " fatal";
    }
    if (upkeep.active != was_active) frame.log += upkeep.active ? " active" : " inactive";
    out += (out.empty() ? "" : " | ") + (frame.log.empty() ? "-" : frame.log.substr(1));
  }
  return out;
}

TEST(FrameUpkeep, ResizeWaitsForTheSizeToSettleAndLostDevicesAreReset) {
  struct Case {
    const char *events, *states, *resets, *restores, *expected;
  } cases[] = {
      // Nothing runs before the loop does; a size before it is no resize.
      {"idle@0 show@0 run idle@500", "", "", "", "- | active | - | draw"},
      // The resize waits 101 ms after the last size change.
      {"run show@1000 idle@1100 idle@1101 idle@1300", "", "", "",
       "- | active | draw | unready release resize restore effects ready draw | draw"},
      {"run show@0 show@90 idle@190 idle@191", "", "", "",
       "- | active | - | draw | unready release resize restore effects ready draw"},
      // Scene time that wrapped round still counts forwards.
      {"run show@4294967290 idle@5 idle@95", "", "", "",
       "- | active | draw | unready release resize restore effects ready draw"},
      // A failed resize leaves the device lost; the reset path restores it.
      // A driver error in a resize is only a failure.
      {"run show@0 idle@200", "R", "f", "",
       "- | active | unready release resize sleep50 unready release reset restore effects ready"},
      {"run show@0 idle@200", "", "x", "", "- | active | unready release resize draw"},
      {"run show@0 idle@200", "", "", "n", "- | active | unready release resize restore draw"},
      // The device's own size message during the resize starts no new wait.
      {"run show@0 idle@200 idle@400", "", "s", "",
       "- | active | unready release resize restore effects ready draw | draw"},
      // Minimised: the scene stops and the loop blocks; hidden by another
      // window's maximising: the loop only blocks.
      {"run show@0 min@5 hide@6", "", "", "", "- | active | pause-scene inactive | -"},
      // A lost device waits; one that can be reset is, and the window is
      // active again; a failed reset or restore is tried again later.
      {"run hide@0 idle@0 idle@0", "LR", "", "", "- | - | sleep50 | sleep50 unready release reset restore effects ready active"},
      {"run idle@0 idle@0", "RR", "f", "",
       "- | sleep50 unready release reset | sleep50 unready release reset restore effects ready active"},
      {"run idle@0", "R", "", "n", "- | sleep50 unready release reset restore"},
      // A driver error inside the reset ends the program.
      {"run idle@0", "R", "x", "", "- | sleep50 unready release reset fatal"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RunEvents(c.events, c.states, c.resets, c.restores), c.expected) << c.events << " / " << c.states << c.resets;
}

}  // namespace
