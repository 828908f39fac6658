#include "modelio/obj_model.h"

#include <cstdlib>

void ObjModelDeleter::operator()(ObjModel* model) const {
  std::free(model);
}

ObjModelPtr NewObjModel() {
  // calloc leaves the pages of a block this large to the system, which maps
  // them zero-filled on first touch: a model costs only what it uses.
  ObjModelPtr model(static_cast<ObjModel*>(std::calloc(1, sizeof(ObjModel))));
  if (model) ResetObjModel(*model);
  return model;
}

void ResetObjModel(ObjModel& model) {
  model.page_width = 256.0f;
  model.page_height = 256.0f;
  model.smoothing_on = 0;
  model.current_material = -1;
  model.invert_face_normals = 0;
  model.position_count = model.normal_count = model.tex_coord_count = 0;
  model.group_count = model.face_count = model.material_count = 0;
  model.corner_count = model.index_count = 0;
  model.flip_v = 1;
  model.flip_u = 0;
  model.mirror_z = 0;
  model.face_error_count = 0;
  model.warning_count = model.error_count = 0;
  // Entries are filled whole when added; only the name of the next entry can
  // be read before that (a map line without a newmtl line).
  model.materials[0].name[0] = '\0';
}
