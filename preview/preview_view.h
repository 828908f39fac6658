// What the user has done to the preview of one compiled vehicle: where he
// dragged and turned it, and which of its parts he switched on. It lives and
// dies with the compiled vehicle, so every Make data starts from the
// initial view again.
#pragma once
#include <cstdint>

struct PreviewState;

struct PreviewView {
  // The drawn placement is committed + in-drag.
  float translation[3] = {0, 0, 0};
  float drag_translation[3] = {0, 0, 0};
  float rotation[3] = {0, 0, 0};  // degrees
  float drag_rotation[3] = {0, 0, 0};

  // Display switches.
  bool pantograph_up = true;  // P
  bool head_lights = false;   // H
  bool tail_lights = false;   // T
  bool options[4] = {false, false, false, false};
  bool shunting_light = false;     // I
  uint32_t head_mark = 0;          // 0 none, else head-mark slot 1-4
  bool pantograph_initial = true;  // pantographs stand as the script set them, until P
  double animation_clock = 0.0;
};

// The view right after a compilation: P on, the options the script switched
// on at the start, everything else off.
PreviewView InitialPreviewView(const PreviewState& state);

// The view carried over to a vehicle compiled again from the same project
// (a live build): placement and switches stay, a head mark the new vehicle
// lacks goes off.
PreviewView CarryPreviewView(const PreviewView& view, const PreviewState& state);

// Modifier bits of a mouse message, as the window system passes them.
constexpr uint32_t kDragShift = 0x0004;
constexpr uint32_t kDragControl = 0x0008;

struct DragState {
  bool dragging = false;
  float start_x = 0, start_y = 0;
  float vector[3] = {0, 0, 0};  // shared by turning and moving
};

void BeginDrag(DragState& drag, int x, int y);
// One mouse position of a drag. With Ctrl it turns the vehicle (0.1 degree
// per pixel), otherwise it moves it (0.1 unit per pixel sideways and up, 0.5
// per pixel along the track with Shift). `commit` ends the drag and keeps
// where the vehicle went. Does nothing unless a drag is running.
void ApplyDrag(PreviewView& view, DragState& drag, int x, int y, uint32_t keys, bool commit);

// Turns the committed rotation about the vertical axis to the next quarter.
void QuarterTurn(PreviewView& view);

// The preview keys ('0'-'4', 'H', 'I', 'M', 'P', 'T', 'Y' as virtual keys).
// `head_marks` is the number of head marks the vehicle has. False for a key
// that means nothing here.
bool ApplyPreviewKey(PreviewView& view, uint32_t virtual_key, uint32_t head_marks);

// Whether pantograph `index` shows its first (raised) model.
bool PantographShowsFirst(const PreviewView& view, const PreviewState& state, uint32_t index);
