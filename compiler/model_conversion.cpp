#include "compiler/model_conversion.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "compiler/preview_recording.h"
#include "compiler/tokens.h"
#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"
#include "platform/ascii_case.h"
#include "platform/files.h"
#include "platform/fs.h"

namespace {

constexpr float kDegreesToRadians = 0.017453292f;

bool HasObjExtension(const std::u16string& path) {
  return EqualsIgnoringAsciiCase(FsSplitPath(path).ext, u".obj");
}

void LoadPreview(VehicleCompiler& c, const std::u16string& mesh_path, const std::vector<uint8_t>& mesh,
                 MeshSlot* slot) {
  if (!slot) return;  // the group is full: the preview keeps what fits
  slot->reset();      // the old mesh goes before its replacement is made
  *slot = ActivePreviewFactory(c).LoadMeshBytes(mesh.data(), mesh.size(), mesh_path);
}

// Keeps a conversion's mesh bytes for the line to embed: another build may
// replace the file beside the OBJ at any time, so it is never read back.
void KeepConvertedMesh(VehicleCompiler& c, const std::u16string& obj_path, std::vector<uint8_t> mesh) {
  for (auto& entry : c.converted_meshes) {
    if (entry.first == obj_path) {
      entry.second = std::move(mesh);
      return;
    }
  }
  c.converted_meshes.emplace_back(obj_path, std::move(mesh));
}

// A model given as a mesh file (or under another extension) embeds the mesh
// file of that name when it is sound; nothing is written.
bool TakeExistingMesh(VehicleCompiler& c, const std::u16string& obj_path, const std::u16string& mesh_path,
                      MeshSlot* slot, int* texture_count) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(mesh_path, bytes) || CheckMeshFile(bytes.data(), bytes.size()) != MeshFileCheck::kOk) {
    *texture_count = kNoModelToCount;
    return true;
  }
  *texture_count = 1;
  LoadPreview(c, mesh_path, bytes, slot);
  KeepConvertedMesh(c, obj_path, std::move(bytes));
  return true;
}

int CountTextures(const ObjModel& model) {
  std::unordered_set<std::u16string> paths;
  for (int32_t i = 0; i < model.material_count && i < kObjMaxMaterials; ++i) {
    const char16_t* path = model.materials[i].texture_path;
    size_t length = 0;
    while (length < kObjPathUnits && path[length] != 0) ++length;
    paths.emplace(path, length);
  }
  return static_cast<int>(paths.size());
}

// One model record serves every conversion of the thread, reset before each.
// A fresh record per model cost a zero-fill of all its 12 MB each time: once
// the first one is freed, the C library keeps blocks of that size for reuse
// instead of mapping new zero pages, and calloc must clear them.
ObjModel* ResetModelRecord() {
  static thread_local ObjModelPtr model = NewObjModel();
  if (model) ResetObjModel(*model);
  return model.get();
}

bool Convert(VehicleCompiler& c, const std::u16string& obj_path, TexturePage page, const float* offset,
             const char16_t* load_message, MeshSlot* slot, int* texture_count) {
  const std::u16string mesh_path = MeshFilePath(obj_path);
  if (!HasObjExtension(obj_path)) return TakeExistingMesh(c, obj_path, mesh_path, slot, texture_count);

  if (c.on_model_conversion) c.on_model_conversion(obj_path);
  ObjModel* model = ResetModelRecord();
  if (!model) {
    LogError(c, u" OBJ convert error\r\n [%s]\r\n", obj_path);
    return false;
  }
  const TextureDescription& texture = page == TexturePage::kSign ? c.sign_texture : c.main_texture;
  model->page_width = static_cast<float>(texture.width);
  model->page_height = static_cast<float>(texture.height);
  c.model_messages.clear();
  model->message_text = &c.model_messages;
  model->message_capacity = kObjMessageCapacity;
  model->base_folder = &c.script_folder;
  model->flip_v = c.model_options.flip_v ? 1 : 0;
  model->flip_u = 0;
  model->mirror_z = c.model_options.mirror_z ? 1 : 0;
  model->invert_face_normals = c.model_options.invert_normals ? 1 : 0;

  const ObjResult read = ReadObjFile(*model, obj_path);
  if (model->warning_count != 0 || model->error_count != 0) {
    // Warnings reach the log at error level but do not fail the compilation.
    Log(*c.log, 0, load_message, obj_path);
    Log(*c.log, 0, u"%s", c.model_messages);
    if (model->error_count != 0) c.error_mark = 1;
  }
  if (read != ObjResult::kOk) {
    c.error_mark = 1;
    return false;
  }
  const float crease = c.smoothing_degrees * kDegreesToRadians;
  const float scale = c.length_scale * c.model_scale;
  std::vector<uint8_t> mesh;
  if (!BuildMeshBytes(*model, crease, offset, scale, 0.0f, mesh) ||
      (c.write_files && !StoreMeshFile(mesh_path, mesh))) {
    LogError(c, u" OBJ convert error\r\n [%s]\r\n", obj_path);
    return false;
  }
  *texture_count = CountTextures(*model);
  LoadPreview(c, mesh_path, mesh, slot);
  KeepConvertedMesh(c, obj_path, std::move(mesh));
  return true;
}

}  // namespace

PreviewFactory& ActivePreviewFactory(VehicleCompiler& c) {
  return c.preview_factory ? *c.preview_factory : DefaultPreviewFactory();
}

std::u16string ModelPath(const VehicleCompiler& c, const std::u16string& argument) {
  return FsIsAbsolute(argument) ? argument : c.script_folder + argument;
}

bool ConvertModel(VehicleCompiler& c, const std::u16string& obj_path, TexturePage page, MeshSlot* slot,
                  int* texture_count) {
  return Convert(c, obj_path, page, nullptr, u" OBJ load\r\n [%s]\r\n", slot, texture_count);
}

bool ConvertFrameModel(VehicleCompiler& c, const std::u16string& obj_path, const float offset[3],
                       MeshSlot* slot, int* texture_count) {
  return Convert(c, obj_path, TexturePage::kMain, offset, u" OBJ LOAD\r\n [%s]\r\n", slot, texture_count);
}

bool RequireOneTexture(VehicleCompiler& c, const std::u16string& obj_path, int texture_count) {
  if (texture_count == 1) return true;
  if (texture_count == 0)
    LogError(c, u"エラー：テクスチャーが指定されていない [%s]\r\n", obj_path);
  else
    LogError(c, u"エラー：複数テクスチャーを参照 [%s]\r\n", obj_path);
  return false;
}

bool ConvertWithOneTexture(VehicleCompiler& c, const std::u16string& obj_path, TexturePage page,
                           MeshSlot* slot) {
  int texture_count = 0;
  if (!ConvertModel(c, obj_path, page, slot, &texture_count)) return false;
  return RequireOneTexture(c, obj_path, texture_count);
}

bool ReadMeshForEmbedding(VehicleCompiler& c, const std::u16string& obj_path, std::vector<uint8_t>& mesh) {
  for (auto& entry : c.converted_meshes) {
    if (entry.first == obj_path) {
      mesh = entry.second;  // a line may embed one model twice (a pantograph)
      return true;
    }
  }
  LogError(c, u"メッシュファイルが読み込めない [%s]\r\n", MeshFilePath(obj_path));
  mesh.clear();
  return false;
}

void WriteMesh(VehicleCompiler& c, const std::vector<uint8_t>& mesh) {
  WriteU32(c.stream, static_cast<uint32_t>(mesh.size()));
  WriteBytes(c.stream, mesh.size(), mesh.data());
}

void EmbedModelRecord(VehicleCompiler& c, uint32_t code, int arg, const ModelTarget& target) {
  const std::u16string path = ModelPath(c, TokenText(c, arg));
  if (!ConvertWithOneTexture(c, path, target.page, target.slot)) return;
  if (target.count && *target.count < target.capacity) ++*target.count;
  std::vector<uint8_t> mesh;
  if (!ReadMeshForEmbedding(c, path, mesh)) return;
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(mesh.size() + 4));
  WriteMesh(c, mesh);
}

namespace {

// At most this many materials are kept (600 bytes each): libraries of many
// materials are read again rather than held.
constexpr size_t kMaxKeptMaterials = 4096;

bool SameFloat(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string NameOf(const char (&name)[kObjMaterialNameBytes]) {
  return std::string(name, strnlen(name, kObjMaterialNameBytes));
}

void SetName(char (&name)[kObjMaterialNameBytes], const std::string& text) {
  const size_t n = std::min(text.size(), kObjMaterialNameBytes - 1);
  std::memcpy(name, text.data(), n);
  name[n] = '\0';
}

// Copies a kept material up to the ends of its texts: every reader of the
// table stops at their terminators, and a whole entry is ten times as long
// as what the sample's materials use of it.
void CopyMaterial(const ObjMaterial& from, ObjMaterial& to) {
  std::memcpy(to.name, from.name, strnlen(from.name, kObjMaterialNameBytes - 1) + 1);
  size_t units = 0;
  while (units + 1 < kObjPathUnits && from.texture_path[units] != 0) ++units;
  std::memcpy(to.texture_path, from.texture_path, (units + 1) * sizeof(char16_t));
  to.left = from.left;
  to.top = from.top;
  to.width = from.width;
  to.height = from.height;
}

}  // namespace

ModelLibraryCache::ModelLibraryCache() : outer_(SetMtlReadHook(this)) {}

ModelLibraryCache::~ModelLibraryCache() {
  SetMtlReadHook(outer_);
}

ObjResult ModelLibraryCache::ReadMtl(ObjModel& model, const std::u16string& mtl_path, MtlReadFunction read) {
  static const std::u16string kNoFolder;
  const std::u16string& base_folder = model.base_folder ? *model.base_folder : kNoFolder;
  const int32_t start = model.material_count;
  // A map line before any newmtl line completes the entry waiting at the
  // count, under the name it already has.
  const std::string next_name = start < kObjMaxMaterials ? NameOf(model.materials[start].name) : std::string();
  for (const Reading& r : readings_) {
    // The table's capacity is never reached by a kept reading copied in.
    if (r.mtl_path != mtl_path || r.base_folder != base_folder || !SameFloat(r.page_width, model.page_width) ||
        !SameFloat(r.page_height, model.page_height) || r.next_name != next_name ||
        start + r.added.size() >= static_cast<size_t>(kObjMaxMaterials))
      continue;
    for (size_t i = 0; i < r.added.size(); ++i) CopyMaterial(r.added[i], model.materials[start + i]);
    model.material_count = start + static_cast<int32_t>(r.added.size());
    SetName(model.materials[model.material_count].name, r.name_after);
    model.page_width = r.page_width_after;
    model.page_height = r.page_height_after;
    return ObjResult::kOk;
  }

  Reading r{mtl_path, base_folder, model.page_width, model.page_height, next_name, {}, {}, 0, 0};
  const int32_t warnings = model.warning_count, errors = model.error_count, failures = model.face_error_count;
  const size_t message_units = model.message_text ? model.message_text->size() : 0;
  const ObjResult result = read(model, mtl_path);
  // Only a reading that said nothing is kept: its messages would depend on
  // the log they went to.
  const bool quiet = result == ObjResult::kOk && model.warning_count == warnings && model.error_count == errors &&
                     model.face_error_count == failures &&
                     (model.message_text ? model.message_text->size() : 0) == message_units;
  const int32_t end = model.material_count;
  if (!quiet || end < start || end >= kObjMaxMaterials ||
      kept_materials_ + static_cast<size_t>(end - start) > kMaxKeptMaterials)
    return result;
  r.added.assign(model.materials + start, model.materials + end);
  r.name_after = NameOf(model.materials[end].name);
  r.page_width_after = model.page_width;
  r.page_height_after = model.page_height;
  kept_materials_ += r.added.size();
  readings_.push_back(std::move(r));
  return result;
}
