// Where windows the program opens are placed: centred on the main window,
// kept inside the screen's work area (tests/data/dialogs/window_placement.txt).
#include <gtest/gtest.h>

#include <sstream>

#include "dialogs/window_placement.h"
#include "tests/case_text.h"

namespace {

TEST(WindowPlacement, CentredOnTheOwnerAndKeptOnTheScreen) {
  RunCaseFile("dialogs/window_placement.txt", {{"centre", [](const CaseFields& in) {
                PlacementRect owner;
                std::istringstream(in[0]) >> owner.left >> owner.top >> owner.right >> owner.bottom;
                int x = -1, y = -1;
                CentredOn(owner, std::stoi(in[1]), std::stoi(in[2]), PlacementRect{0, 0, 1280, 1000}, x, y);
                return std::to_string(x) + " " + std::to_string(y);
              }}});
}

}  // namespace
