#include "preview/placement.h"

#include <cmath>

#include "preview/preview_view.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kRadiansPerDegree = static_cast<float>(kPi / 180.0);

}  // namespace

Matrix4 IdentityMatrix() {
  Matrix4 r = {};
  for (int i = 0; i < 4; ++i) r.m[i][i] = 1.0f;
  return r;
}

Matrix4 RotationXMatrix(float radians) {
  Matrix4 r = IdentityMatrix();
  const float c = std::cos(radians), s = std::sin(radians);
  r.m[1][1] = c;
  r.m[1][2] = s;
  r.m[2][1] = -s;
  r.m[2][2] = c;
  return r;
}

Matrix4 RotationYMatrix(float radians) {
  Matrix4 r = IdentityMatrix();
  const float c = std::cos(radians), s = std::sin(radians);
  r.m[0][0] = c;
  r.m[0][2] = -s;
  r.m[2][0] = s;
  r.m[2][2] = c;
  return r;
}

Matrix4 RotationZMatrix(float radians) {
  Matrix4 r = IdentityMatrix();
  const float c = std::cos(radians), s = std::sin(radians);
  r.m[0][0] = c;
  r.m[0][1] = s;
  r.m[1][0] = -s;
  r.m[1][1] = c;
  return r;
}

Matrix4 TranslationMatrix(float x, float y, float z) {
  Matrix4 r = IdentityMatrix();
  r.m[3][0] = x;
  r.m[3][1] = y;
  r.m[3][2] = z;
  return r;
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
  Matrix4 r = {};
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
      r.m[i][j] = sum;
    }
  }
  return r;
}

Matrix4 EulerPlacement(const float degrees[3], const float translation[3]) {
  return RotationXMatrix(degrees[0] * kRadiansPerDegree) * RotationZMatrix(degrees[2] * kRadiansPerDegree) *
         RotationYMatrix(degrees[1] * kRadiansPerDegree) *
         TranslationMatrix(translation[0], translation[1], translation[2]);
}

Matrix4 VehiclePlacement(const PreviewView& view) {
  float degrees[3], translation[3];
  for (int i = 0; i < 3; ++i) {
    degrees[i] = view.rotation[i] + view.drag_rotation[i];
    translation[i] = view.translation[i] + view.drag_translation[i];
  }
  return EulerPlacement(degrees, translation);
}

Matrix4 CommittedPlacement(const PreviewView& view) {
  return EulerPlacement(view.rotation, view.translation);
}

Matrix4 BogiePlacement(const Matrix4& vehicle, float position) {
  return TranslationMatrix(position, 0.0f, 0.0f) * vehicle;
}

float WheelSpin(double animation_clock, double diameter) {
  const double circumference = diameter * kPi;
  if (circumference == 0.0 || !std::isfinite(circumference) || !std::isfinite(animation_clock)) return 0.0f;
  const double turns = animation_clock / circumference;
  if (!std::isfinite(turns)) return 0.0f;
  const double degrees = (turns - std::trunc(turns)) * 360.0;
  return static_cast<float>(degrees * kPi / 180.0);
}

Matrix4 WheelPlacement(const Matrix4& vehicle, float spin, const float wheel_place[3], float bogie_position) {
  return RotationZMatrix(spin) * TranslationMatrix(wheel_place[0], wheel_place[1], wheel_place[2]) *
         BogiePlacement(vehicle, bogie_position);
}

float PreviewFarPlane(const float eye[3], const float target[3]) {
  const float dx = eye[0] - target[0], dy = eye[1] - target[1], dz = eye[2] - target[2];
  const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
  if (!(distance >= 2800.0f)) return 2800.0f;
  return distance > 4000.0f ? 4000.0f : distance;
}
