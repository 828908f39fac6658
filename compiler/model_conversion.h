// Turning a model command's OBJ file into the mesh file beside it, and the
// steps every model command shares: convert, require one texture, embed the
// mesh bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/vehicle_compiler.h"
#include "modelio/mtl_reader.h"

enum class TexturePage { kMain, kSign };

// The factory the compiler makes its preview objects with.
PreviewFactory& ActivePreviewFactory(VehicleCompiler& c);

// The script folder joined with a model argument; an absolute argument is
// used as it stands.
std::u16string ModelPath(const VehicleCompiler& c, const std::u16string& argument);

// Reads the OBJ with the compiler's model options, reports the reader's
// messages, converts it into mesh bytes and writes them to the mesh file
// (unless write_files is off), counts the distinct textures into
// `texture_count`, keeps the bytes for ReadMeshForEmbedding and, when `slot`
// is given, makes a new preview mesh of them there (the slot's old mesh is
// released first). A name that is not an ".obj" is taken as a mesh file
// converted earlier: one that passes the mesh-file checks counts as one
// texture, anything else as kNoModelToCount.
// False when the model could not be converted (reported, error mark set).
bool ConvertModel(VehicleCompiler& c, const std::u16string& obj_path, TexturePage page, MeshSlot* slot,
                  int* texture_count);
// The same for bogie frames: always the main page, `offset` added to every
// position, and its own load message.
bool ConvertFrameModel(VehicleCompiler& c, const std::u16string& obj_path, const float offset[3],
                       MeshSlot* slot, int* texture_count);

// Texture count of a model that is neither an OBJ nor a sound mesh file.
constexpr int kNoModelToCount = -1;

// Logs an error unless the model used exactly one texture: its own for a
// model without any texture, the multiple-texture error otherwise.
bool RequireOneTexture(VehicleCompiler& c, const std::u16string& obj_path, int texture_count);
// ConvertModel and RequireOneTexture; false when the command must stop.
bool ConvertWithOneTexture(VehicleCompiler& c, const std::u16string& obj_path, TexturePage page,
                           MeshSlot* slot);
// The mesh bytes this line's conversion of `obj_path` produced, for
// embedding. None is an error: nothing stale or broken is embedded.
bool ReadMeshForEmbedding(VehicleCompiler& c, const std::u16string& obj_path, std::vector<uint8_t>& mesh);
// Appends u32 size and the mesh bytes.
void WriteMesh(VehicleCompiler& c, const std::vector<uint8_t>& mesh);

// Where a one-model command's preview mesh goes: the slot (null when the
// group is full) and, for counted groups, the count to advance.
struct ModelTarget {
  TexturePage page = TexturePage::kMain;
  MeshSlot* slot = nullptr;
  uint32_t* count = nullptr;
  uint32_t capacity = 0;
};
// The next free slot of a counted group, or none when it is full.
template <size_t N>
ModelTarget CountedTarget(TexturePage page, MeshSlot (&slots)[N], uint32_t& count) {
  return {page, count < N ? &slots[count] : nullptr, &count, static_cast<uint32_t>(N)};
}
// The model step of a command whose record is its mesh alone: converts the
// model named by argument `arg`, advances the count, appends record `code`.
void EmbedModelRecord(VehicleCompiler& c, uint32_t code, int arg, const ModelTarget& target);

// The material libraries of one compilation. While it lives, a library a
// model of this thread names again is not read and looked up again when its
// earlier reading reported nothing and the model stands as it stood then
// (same script folder, page size and name waiting for the next material):
// what that reading added is copied in. It lives for one compilation, as the
// file layer's read cache does, so a library changed between two
// compilations is read afresh.
class ModelLibraryCache final : public MtlReadHook {
 public:
  ModelLibraryCache();
  ~ModelLibraryCache();
  ModelLibraryCache(const ModelLibraryCache&) = delete;
  ModelLibraryCache& operator=(const ModelLibraryCache&) = delete;

  // MtlReadHook: a kept reading that fits the model, or a reading through `read`.
  ObjResult ReadMtl(ObjModel& model, const std::u16string& mtl_path, MtlReadFunction read) override;

 private:
  // One reading of a library: what the model held that the reader looks at,
  // and what the reading added.
  struct Reading {
    std::u16string mtl_path, base_folder;
    float page_width = 0, page_height = 0;  // before the reading
    std::string next_name;                  // of the entry at the material count, before
    std::vector<ObjMaterial> added;
    std::string name_after;  // of the entry after the last one added
    float page_width_after = 0, page_height_after = 0;
  };
  std::vector<Reading> readings_;
  size_t kept_materials_ = 0;
  MtlReadHook* outer_;
};
