// Where windows the program opens are placed: centred on the main window,
// kept inside the screen's work area.
#include <gtest/gtest.h>

#include "dialogs/window_placement.h"

namespace {

TEST(WindowPlacement, CentredOnTheOwnerAndKeptOnTheScreen) {
  const PlacementRect screen{0, 0, 1280, 1000};
  const struct {
    PlacementRect owner;
    int width, height, x, y;
  } cases[] = {
      {{100, 50, 1124, 818}, 400, 300, 412, 284},   // plainly centred
      {{-500, 0, 524, 768}, 400, 300, 0, 234},      // owner half off the left edge
      {{900, 800, 1400, 1200}, 400, 300, 880, 700},  // pushed back from the bottom right
      {{0, 0, 1024, 768}, 1500, 1200, 0, 0},        // larger than the screen: its corner shows
  };
  for (const auto& c : cases) {
    int x = -1, y = -1;
    CentredOn(c.owner, c.width, c.height, screen, x, y);
    EXPECT_EQ(x, c.x) << c.owner.left;
    EXPECT_EQ(y, c.y) << c.owner.left;
  }
}

}  // namespace
