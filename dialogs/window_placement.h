// Where a window the program opens goes: centred on the main window, kept on
// the screen.
#pragma once

struct PlacementRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The top-left corner for a window of `width` x `height` centred on
// `owner`, moved as little as needed to lie inside `work_area`; a window
// larger than the work area keeps its top-left corner in it.
void CentredOn(const PlacementRect& owner, int width, int height, const PlacementRect& work_area, int& x,
               int& y);
