// An OBJ file and its MTL library, split at the input's first NUL, written
// into a scratch folder and read by name as the compiler reads them; then
// converted, written as a mesh file and loaded back. The first byte also
// picks the reader's options.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/scratch_folder.h"
#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"

namespace {

const std::u16string& Folder() {
  static const std::u16string folder = [] {
    // The TIM folder sits beside the model's folder.
    MakeScratchFolder(u"TIM",
                      {{u"t.tim", scratch::Tim(64, 0, 128, 64)}, {u"odd.tim", scratch::Tim(1, 0, 3, 8)}});
    return MakeScratchFolder(u"model", {{u"t.png", scratch::Png(256, 256, 2)},
                                        {u"wide.png", scratch::Png(512, 256, 6)},
                                        {u"huge.png", scratch::Png(70000, 1, 2)},
                                        {u"t.bmp", scratch::Bmp(128, -64)},
                                        {u"zero.bmp", scratch::Bmp(0, 16)},
                                        {u"sub/", ""},
                                        {u"sub/t.png", scratch::Png(64, 32, 6)}});
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string& folder = Folder();
  static ObjModel* model = NewObjModel().release();
  static std::u16string messages;

  const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t obj_size = nul ? static_cast<size_t>(nul - data) : size;
  const std::u16string obj_path = folder + u"m.obj";
  FsWriteFileAtomic(obj_path, data, obj_size);
  if (nul)
    FsWriteFileAtomic(folder + u"m.mtl", nul + 1, size - obj_size - 1);
  else
    FsRemoveFile(folder + u"m.mtl");

  messages.clear();
  ResetObjModel(*model);
  model->message_text = &messages;
  model->message_capacity = kObjMessageCapacity;
  const uint8_t options = size > 0 ? data[0] : 0;
  model->mirror_z = options & 1;
  model->smoothing_on = (options >> 1) & 1;
  model->invert_face_normals = (options >> 2) & 1;
  model->flip_u = (options >> 3) & 1;
  ReadObjFile(*model, obj_path);

  if (model->corner_count > kObjMaxCorners || model->index_count > kObjMaxIndices) __builtin_trap();
  if (model->position_count > kObjMaxPositions || model->face_count > kObjMaxFaces) __builtin_trap();
  if (model->material_count > kObjMaxMaterials || model->group_count > kObjMaxGroups) __builtin_trap();
  if (messages.size() >= model->message_capacity) __builtin_trap();
  for (int32_t i = 0; i < model->index_count; ++i)
    if (model->indices[i] >= model->corner_count) __builtin_trap();
  if (model->corner_count == 0) return 0;

  std::vector<MeshVertex> vertices(static_cast<size_t>(model->corner_count));
  std::vector<uint16_t> indices(static_cast<size_t>(model->index_count) + 1);
  ConvertObjModel(*model, vertices.data(), indices.data(), 0.5f, 0.5f, nullptr, 1.0f);
  for (const MeshVertex& v : vertices)
    for (float n : v.normal)
      if (std::isnan(n)) __builtin_trap();

  // What the writer writes, the loader takes.
  const std::u16string mesh_path = MeshFilePath(obj_path);
  if (!WriteMeshFile(*model, mesh_path, 0.5f, nullptr, 1.0f, 0.0f)) __builtin_trap();
  MeshData mesh;
  if (LoadMeshFile(mesh_path, mesh) != MeshFileCheck::kOk) __builtin_trap();
  if (mesh.vertices.size() != static_cast<size_t>(model->corner_count)) __builtin_trap();
  return 0;
}
