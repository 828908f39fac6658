#include "dialogs/window_placement.h"

namespace {

// The start of a span of `size` centred on [low, high), kept within
// [area_low, area_high) where it fits, else at area_low.
int CentredSpan(int low, int high, int size, int area_low, int area_high) {
  int start = low + (high - low - size) / 2;
  if (start + size > area_high) start = area_high - size;
  if (start < area_low) start = area_low;
  return start;
}

}  // namespace

void CentredOn(const PlacementRect& owner, int width, int height, const PlacementRect& work_area, int& x,
               int& y) {
  x = CentredSpan(owner.left, owner.right, width, work_area.left, work_area.right);
  y = CentredSpan(owner.top, owner.bottom, height, work_area.top, work_area.bottom);
}
