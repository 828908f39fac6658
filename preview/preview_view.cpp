#include "preview/preview_view.h"

#include <algorithm>
#include <cmath>

#include "compiler/preview_state.h"

PreviewView InitialPreviewView(const PreviewState& state) {
  PreviewView view;
  for (uint32_t n = 1; n <= kMaxOptions; ++n) view.options[n - 1] = state.option_shown[n];
  return view;
}

PreviewView CarryPreviewView(const PreviewView& view, const PreviewState& state) {
  PreviewView carried = view;
  if (carried.head_mark > std::min<uint32_t>(state.head_mark_count, kMaxHeadMarks)) carried.head_mark = 0;
  return carried;
}

void BeginDrag(DragState& drag, int x, int y) {
  drag.dragging = true;
  drag.start_x = static_cast<float>(x);
  drag.start_y = static_cast<float>(y);
  drag.vector[0] = drag.vector[1] = drag.vector[2] = 0;
}

void ApplyDrag(PreviewView& view, DragState& drag, int x, int y, uint32_t keys, bool commit) {
  if (!drag.dragging) return;
  const float dx = static_cast<float>(x) - drag.start_x;
  const float dy = static_cast<float>(y) - drag.start_y;
  float* v = drag.vector;
  if (keys & kDragControl) {
    v[0] = -dy * 0.1f;
    v[1] = -dx * 0.1f;
    for (int i = 0; i < 3; ++i) view.drag_rotation[i] = v[i];
  } else {
    v[0] = dx * 0.1f;
    if (keys & kDragShift) {
      v[2] = -dy * 0.5f;
    } else {
      v[1] = -dy * 0.1f;
    }
    for (int i = 0; i < 3; ++i) view.drag_translation[i] = v[i];
  }
  if (!commit) return;
  // Both parts are kept: a drag that changed its modifier half-way leaves
  // the vehicle where the user last saw it.
  for (int i = 0; i < 3; ++i) {
    view.rotation[i] += view.drag_rotation[i];
    view.translation[i] += view.drag_translation[i];
    view.drag_rotation[i] = 0;
    view.drag_translation[i] = 0;
  }
  drag.dragging = false;
}

void QuarterTurn(PreviewView& view) {
  float turned = (std::trunc(view.rotation[1] / 90.0f) + 1.0f) * 90.0f;
  if (turned >= 360.0f) turned -= 360.0f;
  view.rotation[1] = turned;
}

bool ApplyPreviewKey(PreviewView& view, uint32_t virtual_key, uint32_t head_marks) {
  switch (virtual_key) {
    case '0':
      for (int i = 0; i < 3; ++i) {
        view.rotation[i] = view.drag_rotation[i] = 0;
        view.translation[i] = view.drag_translation[i] = 0;
      }
      return true;
    case '1':
    case '2':
    case '3':
    case '4':
      view.options[virtual_key - '1'] = !view.options[virtual_key - '1'];
      return true;
    case 'H':
      view.head_lights = !view.head_lights;
      return true;
    case 'I':
      view.shunting_light = !view.shunting_light;
      return true;
    case 'M':
      ++view.head_mark;
      if (view.head_mark > head_marks) view.head_mark = 0;
      return true;
    case 'P':
      view.pantograph_up = !view.pantograph_up;
      view.pantograph_initial = false;
      return true;
    case 'T':
      view.tail_lights = !view.tail_lights;
      return true;
    case 'Y':
      QuarterTurn(view);
      return true;
    default:
      return false;
  }
}

bool PantographShowsFirst(const PreviewView& view, const PreviewState& state, uint32_t index) {
  if (!view.pantograph_initial) return view.pantograph_up;
  return index < kMaxPantographs && state.pantograph_states[index] != 0;
}
