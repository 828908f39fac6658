#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/frame_upkeep.h"
#include "tests/case_text.h"

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
std::string RunEvents(const std::string& events, const std::string& states, const std::string& resets,
                      const std::string& restores) {
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

// tests/data/app/frame_upkeep.txt: the events, the scripted answers and what each event did.
TEST(FrameUpkeep, ResizeWaitsForTheSizeToSettleAndLostDevicesAreReset) {
  RunCaseFile("app/frame_upkeep.txt", {{"upkeep", [](const CaseFields& in) {
                                          return RunEvents(in[0], in[1], in[2], in[3]);
                                        }}});
}

}  // namespace
