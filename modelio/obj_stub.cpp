// Temporary bodies so callers link while the reader and writer are built.
#include <cstdlib>
#include <cstring>

#include "modelio/file_utils.h"
#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"

void ObjModelDeleter::operator()(ObjModel* model) const {
  std::free(model);
}
ObjModelPtr NewObjModel() {
  ObjModelPtr model(static_cast<ObjModel*>(std::calloc(1, sizeof(ObjModel))));
  if (model) ResetObjModel(*model);
  return model;
}
void ResetObjModel(ObjModel& model) {
  std::u16string* text = model.message_text;
  uint32_t capacity = model.message_capacity;
  std::memset(&model, 0, sizeof model);
  model.message_text = text;
  model.message_capacity = capacity;
  model.page_width = model.page_height = 256.0f;
  model.current_material = -1;
  model.flip_v = 1;
}
uint32_t ReadObjFile(ObjModel&, const std::u16string&) {
  return kObjResultNoObjFile;
}
uint32_t ReadObjBytes(ObjModel&, const uint8_t*, size_t, const std::u16string&) {
  return kObjResultOk;
}
uint32_t ReadMtlFile(ObjModel&, const std::u16string&) {
  return kObjResultNoMtlFile;
}
int AppendModelMessageV(ObjModel&, int, const char16_t*, const ModelMessageArg*, size_t) {
  return 0;
}

std::u16string MeshFilePath(const std::u16string& obj_path) {
  return obj_path + u".3dd";
}
void ConvertObjModel(const ObjModel&, MeshVertex*, uint16_t*, float, float, const float*, float) {}
uint32_t WriteMeshFile(const ObjModel&, const std::u16string&, float, const float*, float, float) {
  return kResultFail;
}
const char* MeshFileCheckText(MeshFileCheck) {
  return "";
}
MeshFileCheck CheckMeshFile(const uint8_t*, size_t, MeshFileHeader*) {
  return MeshFileCheck::kTooShort;
}
MeshFileCheck ParseMeshFile(const uint8_t*, size_t, MeshData&) {
  return MeshFileCheck::kTooShort;
}
MeshFileCheck LoadMeshFile(const std::u16string&, MeshData&) {
  return MeshFileCheck::kUnreadable;
}
