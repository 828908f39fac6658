// Placements of the vehicle, its bogies and turning wheels. Expected points
// are worked out by hand from the rotation matrices of the row-vector
// convention (a point p becomes p * M).
#include <gtest/gtest.h>

#include <cmath>

#include "preview/placement.h"
#include "preview/preview_view.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectPoint(float x, float y, float z, const Matrix4& m, float to_x, float to_y, float to_z) {
  EXPECT_NEAR(x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0], to_x, 1e-4);
  EXPECT_NEAR(x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1], to_y, 1e-4);
  EXPECT_NEAR(x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2], to_z, 1e-4);
}

TEST(PreviewPlacement, ZeroAnglesGiveAPureTranslation) {
  PreviewView view;
  view.translation[0] = 1;
  view.drag_translation[0] = 2;
  view.translation[1] = -4;
  view.drag_translation[2] = 0.5f;
  const Matrix4 m = VehiclePlacement(view);
  const float expected[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {3, -4, 0.5f, 1}};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(m.m[i][j], expected[i][j]) << i << "," << j;
}

TEST(PreviewPlacement, PitchRollYawThenTranslation) {
  PreviewView view;
  view.rotation[0] = 60;
  view.drag_rotation[0] = 30;  // pitch 90 degrees in all
  view.rotation[1] = 90;       // yaw
  view.translation[2] = 10;
  // (0,1,0): the pitch turns it to (0,0,1), the yaw then to (1,0,0).
  ExpectPoint(0, 1, 0, VehiclePlacement(view), 1, 0, 10);
  // The committed placement leaves the in-drag pitch out.
  ExpectPoint(0, 1, 0, CommittedPlacement(view), std::sin(kPi / 3), std::cos(kPi / 3), 10);
  // Roll 90, then yaw 90: (1,0,0) is rolled to (0,1,0), which the yaw leaves.
  const float degrees[3] = {0, 90, 90}, none[3] = {0, 0, 0};
  ExpectPoint(1, 0, 0, EulerPlacement(degrees, none), 0, 1, 0);
}

TEST(PreviewPlacement, ControlDragToTheRightTurnsTheFrontAway) {
  PreviewView view;
  DragState drag;
  BeginDrag(drag, 0, 0);
  ApplyDrag(view, drag, 900, 0, kDragControl, false);  // -90 degrees about y
  // The front end (+x) turns towards +z, away from the camera at -z.
  ExpectPoint(1, 0, 0, VehiclePlacement(view), 0, 0, 1);
}

TEST(PreviewPlacement, BogiesAndWheels) {
  PreviewView view;
  Matrix4 vehicle = VehiclePlacement(view);
  ExpectPoint(0, 0, 0, BogiePlacement(vehicle, 7), 7, 0, 0);
  // A quarter turn: the rim point on top goes to the back, then the wheel
  // sits 2 ahead of the bogie centre at height 1.5.
  const float place[3] = {2, 1.5f, 0};
  const float spin = static_cast<float>(kPi / 2);
  ExpectPoint(0, 1, 0, WheelPlacement(vehicle, spin, place, 7), 8, 1.5f, 0);
  view.rotation[1] = 90;
  vehicle = VehiclePlacement(view);
  ExpectPoint(0, 1, 0, WheelPlacement(vehicle, spin, place, 7), 0, 1.5f, -8);
}

}  // namespace
