#include "compiler/preview_recording.h"

#include "modelio/mesh_file.h"
#include "platform/image_headers.h"
#include "platform/sjis.h"

namespace {

std::string Name(const std::u16string& path) {
  size_t slash = path.find_last_of(u"/\\");
  return Utf16ToUtf8(slash == std::u16string::npos ? path : path.substr(slash + 1));
}

class RecordedMesh : public PreviewMesh {
 public:
  RecordedMesh(std::shared_ptr<PreviewTally> tally, std::string label)
      : tally_(std::move(tally)), label_(std::move(label)) {
    ++tally_->meshes_made;
    tally_->Note("mesh " + label_);
  }
  ~RecordedMesh() override {
    ++tally_->meshes_released;
    tally_->Note("release mesh " + label_);
  }

 private:
  std::shared_ptr<PreviewTally> tally_;
  std::string label_;
};

class RecordedTexture : public PreviewTexture {
 public:
  explicit RecordedTexture(std::shared_ptr<PreviewTally> tally) : tally_(std::move(tally)) {}
  ~RecordedTexture() override {
    ++tally_->textures_released;
    tally_->Note("release texture " + std::to_string(width) + "x" + std::to_string(height));
  }

 private:
  std::shared_ptr<PreviewTally> tally_;
};

class RecordedLines : public PreviewLineBatch {
 public:
  explicit RecordedLines(std::shared_ptr<PreviewTally> tally) : tally_(std::move(tally)) {}
  ~RecordedLines() override {
    ++tally_->line_batches_released;
    tally_->Note("release lines");
  }

 private:
  std::shared_ptr<PreviewTally> tally_;
};

void SetBounds(PreviewMesh& mesh, const std::vector<MeshVertex>& vertices) {
  for (int axis = 0; axis < 3; ++axis) {
    mesh.bounds_min[axis] = 99999.0f;
    mesh.bounds_max[axis] = -99999.0f;
  }
  for (const MeshVertex& v : vertices) {
    for (int axis = 0; axis < 3; ++axis) {
      if (v.position[axis] < mesh.bounds_min[axis]) mesh.bounds_min[axis] = v.position[axis];
      if (v.position[axis] > mesh.bounds_max[axis]) mesh.bounds_max[axis] = v.position[axis];
    }
  }
}

}  // namespace

std::unique_ptr<PreviewMesh> RecordingPreviewFactory::LoadMeshBytes(const uint8_t* bytes, size_t size,
                                                                     const std::u16string& source) {
  auto mesh = std::make_unique<RecordedMesh>(tally_, Name(source));
  mesh->source = source;
  MeshData data;
  if (ParseMeshFile(bytes, size, data) == MeshFileCheck::kOk) {
    mesh->vertex_format = data.header.vertex_format;
    mesh->vertex_count = data.header.vertex_count;
    mesh->index_count = data.header.index_count;
    mesh->loaded = true;
    SetBounds(*mesh, data.vertices);
  }
  return mesh;
}

std::unique_ptr<PreviewMesh> RecordingPreviewFactory::CopySphereMapped(const PreviewMesh& source) {
  auto mesh = std::make_unique<RecordedMesh>(tally_, "copy of " + Name(source.source));
  mesh->vertex_format = kSphereMappedVertexFormat;
  mesh->vertex_count = source.vertex_count;
  mesh->index_count = source.index_count;
  mesh->loaded = source.loaded;
  for (int axis = 0; axis < 3; ++axis) {
    mesh->bounds_min[axis] = source.bounds_min[axis];
    mesh->bounds_max[axis] = source.bounds_max[axis];
  }
  return mesh;
}

std::unique_ptr<PreviewTexture> RecordingPreviewFactory::CreateTexture(const uint8_t* png, size_t size) {
  PngHeader header;
  if (!ReadPngSize(png, size, header) || header.width == 0 || header.height == 0) return nullptr;
  auto texture = std::make_unique<RecordedTexture>(tally_);
  texture->width = header.width;
  texture->height = header.height;
  texture->source_bytes = size;
  ++tally_->textures_made;
  tally_->Note("texture " + std::to_string(header.width) + "x" + std::to_string(header.height));
  return texture;
}

std::unique_ptr<PreviewLineBatch> RecordingPreviewFactory::CreateLineBatch(uint32_t capacity_lines) {
  auto lines = std::make_unique<RecordedLines>(tally_);
  lines->capacity_lines = capacity_lines;
  ++tally_->line_batches_made;
  tally_->Note("lines " + std::to_string(capacity_lines));
  return lines;
}

PreviewFactory& DefaultPreviewFactory() {
  static RecordingPreviewFactory factory;
  return factory;
}
