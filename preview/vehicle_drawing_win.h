// The compiled vehicle on the device: the frame's drawing states, every
// mesh in the order of the draw list, a container part's model and the
// guide lines under the vehicle.
#pragma once
#include <d3d9.h>

#include <cstdint>
#include <vector>

#include "compiler/vehicle_compiler.h"
#include "preview/preview_view.h"
#include "preview/vehicle_draw_list.h"

class CDXRenderer;

// Plays a draw list: states, placements, textures of `state` and meshes.
void PlayDrawList(CDXRenderer& renderer, const std::vector<DrawOp>& ops, const PreviewState& state,
                  const D3DLIGHT9& light);

// Everything of the compiled vehicle in one frame, between BeginScene and
// EndScene. Sets the view's animation clock from the scene clock. `ops` is
// scratch space kept between frames.
void DrawCompiledVehicle(CDXRenderer& renderer, const VehicleCompiler& compiler, PreviewView& view,
                         const D3DLIGHT9& light, uint32_t scene_clock, std::vector<DrawOp>& ops);
