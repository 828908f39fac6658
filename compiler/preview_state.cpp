#include "compiler/preview_state.h"

namespace {

template <size_t N>
void ReleaseAll(MeshSlot (&slots)[N]) {
  for (MeshSlot& slot : slots) slot.reset();
}

}  // namespace

void ReleasePreviewObjects(PreviewState& p) {
  // A rejected model may have left a mesh one past its group's count, so
  // every slot is released, not only the counted ones.
  ReleaseAll(p.bodies);
  ReleaseAll(p.roofs);
  for (MeshSlot* slot :
       {&p.window, &p.heated_window, &p.interior, &p.lit_sign, &p.side_sign, &p.side_sign2, &p.led_sign})
    slot->reset();
  ReleaseAll(p.head_marks);
  for (PreviewPantograph& pantograph : p.pantographs) {
    pantograph.first.reset();
    pantograph.second.reset();
  }
  ReleaseAll(p.head_lights);
  ReleaseAll(p.tail_lights);
  p.shunting_light.reset();
  for (PreviewOption& option : p.options) ReleaseAll(option.parts);
  ReleaseAll(p.driving_wheels);
  ReleaseAll(p.bogie_frames);
  for (PreviewWheel& wheel : p.wheels) wheel.mesh.reset();
  for (PreviewContainerMesh& container : p.container_meshes) container.mesh.reset();
  p.main_texture.reset();
  p.sign_texture.reset();
  p.container_model.reset();
  p.container_texture.reset();
  p.guide_lines.reset();
  p = PreviewState{};
}
