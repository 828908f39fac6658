// Three-component float vector helpers for normals, in the operation order
// the mesh file's bytes depend on (no fused multiply-add anywhere).
#pragma once
#include <cmath>

// Used where neither a normal of the file nor the face gives a direction.
constexpr float kFallbackNormal[3] = {0.0f, 1.0f, 0.0f};

inline void Cross3(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

// out = v / |v|. False, with out = (0, 0, 0), when the length is zero or not
// finite, so no NaN ever leaves here.
inline bool Normalize3(const float v[3], float out[3]) {
  float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (!(length > 0.0f) || !std::isfinite(length)) {
    out[0] = out[1] = out[2] = 0.0f;
    return false;
  }
  out[0] = v[0] / length;
  out[1] = v[1] / length;
  out[2] = v[2] / length;
  return true;
}
