// libFuzzer target for the model input: OBJ bytes through the reader and the
// mesh writer's conversion, and arbitrary bytes through the mesh file check.
// Built with clang only (see CMakeLists.txt); run from a scratch folder:
//   fuzz_model_input -max_total_time=60 corpus/
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ObjModel* model = NewObjModel().release();
  static std::u16string messages;
  messages.clear();
  ResetObjModel(*model);
  model->message_text = &messages;
  model->message_capacity = kObjMessageCapacity;
  model->mirror_z = size > 0 && (data[0] & 1);
  ReadObjBytes(*model, data, size, u"fuzz.obj");
  if (model->corner_count > kObjMaxCorners || model->index_count > kObjMaxIndices) std::abort();
  for (int32_t i = 0; i < model->index_count; ++i)
    if (model->indices[i] >= model->corner_count) std::abort();
  if (model->corner_count > 0) {
    std::vector<MeshVertex> vertices(static_cast<size_t>(model->corner_count));
    std::vector<uint16_t> indices(static_cast<size_t>(model->index_count) + 1);
    ConvertObjModel(*model, vertices.data(), indices.data(), 0.0f, 0.5f, nullptr, 1.0f);
    for (const MeshVertex& v : vertices)
      for (float n : v.normal)
        if (std::isnan(n)) std::abort();
  }
  MeshData mesh;
  MeshFileCheck check = ParseMeshFile(data, size, mesh);
  if (check == MeshFileCheck::kOk) {
    for (uint16_t index : mesh.indices)
      if (index >= mesh.vertices.size()) std::abort();
  }
  return 0;
}
