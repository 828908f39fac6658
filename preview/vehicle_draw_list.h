// The drawing of a compiled vehicle as a list of steps: which meshes, in
// which order, with which states and placements. The list is made from the
// compiler's preview state and the user's view without any device, and the
// window side plays it on the device each frame.
#pragma once
#include <cstdint>
#include <vector>

#include "preview/placement.h"
#include "render/blend_mode.h"

class PreviewMesh;
struct PreviewState;
struct PreviewView;

enum class DrawStep : uint8_t {
  kSetLight,         // light 0 = the scene's main light
  kBindMainTexture,  // stage 0
  kBindSignTexture,
  kBindContainerTexture,
  kSpecular,    // value: 0 off, 1 on
  kDepthWrite,  // value: 0 off, 1 on
  kBlendMode,   // value: a BlendMode
  kSetWorld,    // world
  kSphereMap,   // mesh: refresh its reflection coordinates for the current world and view
  kDraw,        // mesh, as a triangle list
};

struct DrawOp {
  DrawStep step;
  int value = 0;
  const PreviewMesh* mesh = nullptr;
  Matrix4 world{};
};

// Every mesh of the vehicle in drawing order: signs and the head mark, the
// interior, body, roof and pantographs, windows, lights, the LED sign, the
// driving wheel, bogie frames and turning wheels. `ops` is emptied first.
void BuildVehicleDrawList(const PreviewState& state, const PreviewView& view, std::vector<DrawOp>& ops);

// A container part's single model, placed by the committed view only.
// Appends to `ops`.
void AppendContainerModel(const PreviewState& state, const PreviewView& view, std::vector<DrawOp>& ops);

struct GuideLine {
  float from[3];
  float to[3];
};

// The floor lines on both sides of the track, the line at height 34 and one
// short vertical line under each bogie, in the vehicle's placement.
std::vector<GuideLine> VehicleGuideLines(const PreviewState& state);
