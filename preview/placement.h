// Where the vehicle and its running gear are drawn: 4 x 4 matrices for row
// vectors (a point is transformed as p * M, so A * B applies A first), laid
// out as Direct3D keeps them.
#pragma once

struct PreviewView;

struct Matrix4 {
  float m[4][4];
};

Matrix4 IdentityMatrix();
Matrix4 RotationXMatrix(float radians);
Matrix4 RotationYMatrix(float radians);
Matrix4 RotationZMatrix(float radians);
Matrix4 TranslationMatrix(float x, float y, float z);
Matrix4 operator*(const Matrix4& a, const Matrix4& b);

// Rx(pitch) * Rz(roll) * Ry(yaw) * T(t) from angles in degrees and a
// translation.
Matrix4 EulerPlacement(const float degrees[3], const float translation[3]);
// The vehicle's placement: committed plus in-drag rotation and translation.
Matrix4 VehiclePlacement(const PreviewView& view);
// Committed values only (the container model does not follow a drag).
Matrix4 CommittedPlacement(const PreviewView& view);

// A bogie frame at `position` along the vehicle.
Matrix4 BogiePlacement(const Matrix4& vehicle, float position);
// The turn of a wheel of diameter `diameter` at `animation_clock`, in
// radians: one full turn per pi * diameter of the clock. A wheel with a
// diameter of 0 (or one that is not a finite number) stands still.
float WheelSpin(double animation_clock, double diameter);
// A wheel turned by `spin` at its place on the bogie at `bogie_position`.
Matrix4 WheelPlacement(const Matrix4& vehicle, float spin, const float wheel_place[3], float bogie_position);

// The preview camera's far plane: the eye-to-target distance, kept within
// 2,800 and 4,000 units.
float PreviewFarPlane(const float eye[3], const float target[3]);
