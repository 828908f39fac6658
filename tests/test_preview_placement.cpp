// Placements of the vehicle, its bogies and turning wheels. Expected points
// are worked out by hand from the rotation matrices of the row-vector
// convention (a point p becomes p * M).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "preview/placement.h"
#include "preview/preview_view.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Point {
  float x, y, z;
};

Point Transform(const Point& p, const Matrix4& m) {
  return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
          p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
          p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

void ExpectPoint(const Point& got, float x, float y, float z) {
  EXPECT_NEAR(got.x, x, 1e-4);
  EXPECT_NEAR(got.y, y, 1e-4);
  EXPECT_NEAR(got.z, z, 1e-4);
}

TEST(PreviewPlacement, ZeroAnglesGiveAPureTranslation) {
  PreviewView view;
  view.translation[0] = 1;
  view.drag_translation[0] = 2;
  view.translation[1] = -4;
  view.drag_translation[2] = 0.5f;
  const Matrix4 m = VehiclePlacement(view);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(m.m[i][j], i == j ? 1.0f : 0.0f) << i << "," << j;
  EXPECT_EQ(m.m[3][0], 3.0f);
  EXPECT_EQ(m.m[3][1], -4.0f);
  EXPECT_EQ(m.m[3][2], 0.5f);
  EXPECT_EQ(m.m[3][3], 1.0f);
}

TEST(PreviewPlacement, PitchBeforeYawThenTranslation) {
  PreviewView view;
  view.rotation[0] = 60;
  view.drag_rotation[0] = 30;  // pitch 90 degrees in all
  view.rotation[1] = 90;       // yaw
  view.translation[2] = 10;
  // (0,1,0): the pitch turns it to (0,0,1), the yaw then to (1,0,0).
  ExpectPoint(Transform({0, 1, 0}, VehiclePlacement(view)), 1, 0, 10);
  // The committed placement leaves the in-drag pitch out: only the 60
  // degrees of pitch, then the yaw.
  ExpectPoint(Transform({0, 1, 0}, CommittedPlacement(view)), std::sin(kPi / 3), std::cos(kPi / 3), 10);
}

TEST(PreviewPlacement, RollComesBetweenPitchAndYaw) {
  const float degrees[3] = {0, 90, 90};  // roll 90, then yaw 90
  const float none[3] = {0, 0, 0};
  // (1,0,0): the roll turns it to (0,1,0), which the yaw leaves alone.
  ExpectPoint(Transform({1, 0, 0}, EulerPlacement(degrees, none)), 0, 1, 0);
}

TEST(PreviewPlacement, ControlDragToTheRightTurnsTheFrontAway) {
  PreviewView view;
  DragState drag;
  BeginDrag(drag, 0, 0);
  ApplyDrag(view, drag, 900, 0, kDragControl, false);  // -90 degrees about y
  // The front end (+x) turns towards +z, away from the camera at -z.
  ExpectPoint(Transform({1, 0, 0}, VehiclePlacement(view)), 0, 0, 1);
}

TEST(PreviewPlacement, BogiesAndWheels) {
  PreviewView view;
  Matrix4 vehicle = VehiclePlacement(view);
  ExpectPoint(Transform({0, 0, 0}, BogiePlacement(vehicle, 7)), 7, 0, 0);

  // A quarter turn: the rim point on top goes to the back, then the wheel
  // sits 2 ahead of the bogie centre at height 1.5.
  const float place[3] = {2, 1.5f, 0};
  const float spin = static_cast<float>(kPi / 2);
  ExpectPoint(Transform({0, 1, 0}, WheelPlacement(vehicle, spin, place, 7)), 8, 1.5f, 0);
  view.rotation[1] = 90;
  vehicle = VehiclePlacement(view);
  ExpectPoint(Transform({0, 1, 0}, WheelPlacement(vehicle, spin, place, 7)), 0, 1.5f, -8);
}

TEST(PreviewPlacement, WheelTurnsOncePerPiTimesDiameter) {
  const double d = 5.7;
  EXPECT_NEAR(WheelSpin(kPi * d / 4, d), kPi / 2, 1e-5);
  EXPECT_NEAR(WheelSpin(kPi * d * 2.5, d), kPi, 1e-5);
  EXPECT_NEAR(WheelSpin(0, d), 0, 1e-9);
  // No diameter: the wheel stands, never a NaN angle.
  EXPECT_EQ(WheelSpin(0, 0), 0.0f);
  EXPECT_EQ(WheelSpin(123.45, 0), 0.0f);
  EXPECT_EQ(WheelSpin(123.45, std::numeric_limits<double>::quiet_NaN()), 0.0f);
  EXPECT_EQ(WheelSpin(123.45, std::numeric_limits<double>::infinity()), 0.0f);
  EXPECT_FALSE(std::isnan(WheelSpin(655.35, 1e-300)));
  EXPECT_EQ(WheelSpin(655.35, 1e-320), 0.0f);  // so small the turns overflow
}

}  // namespace

namespace {

TEST(PreviewPlacement, FarPlaneFollowsTheCameraDistanceWithinLimits) {
  const float eye[3] = {0, 20, -150}, target[3] = {0, 20, 0};
  EXPECT_EQ(PreviewFarPlane(eye, target), 2800.0f);  // the preview's own camera
  const float far_eye[3] = {0, 0, -3000}, origin[3] = {0, 0, 0};
  EXPECT_EQ(PreviewFarPlane(far_eye, origin), 3000.0f);
  const float very_far[3] = {3000, 0, -4000};  // 5,000 away
  EXPECT_EQ(PreviewFarPlane(very_far, origin), 4000.0f);
}

}  // namespace
