#include "compiler/preview_recording.h"

#include <cstddef>
#include <cstring>

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

// The box around the positions of `count` vertices of checked mesh-file
// bytes, read where they lie: nothing is copied out for the box alone.
void SetBounds(PreviewMesh& mesh, const uint8_t* vertices, uint32_t count) {
  for (int axis = 0; axis < 3; ++axis) {
    mesh.bounds_min[axis] = 99999.0f;
    mesh.bounds_max[axis] = -99999.0f;
  }
  for (uint32_t i = 0; i < count; ++i) {
    float position[3];
    std::memcpy(position, vertices + size_t{i} * kMeshVertexBytes + offsetof(MeshVertex, position), sizeof position);
    for (int axis = 0; axis < 3; ++axis) {
      if (position[axis] < mesh.bounds_min[axis]) mesh.bounds_min[axis] = position[axis];
      if (position[axis] > mesh.bounds_max[axis]) mesh.bounds_max[axis] = position[axis];
    }
  }
}

}  // namespace

std::unique_ptr<PreviewMesh> RecordingPreviewFactory::LoadMeshBytes(const uint8_t* bytes, size_t size,
                                                                     const std::u16string& source) {
  auto mesh = std::make_unique<RecordedMesh>(tally_, Name(source));
  mesh->source = source;
  MeshFileHeader header;
  if (CheckMeshFile(bytes, size, &header) == MeshFileCheck::kOk) {
    mesh->vertex_format = header.vertex_format;
    mesh->vertex_count = header.vertex_count;
    mesh->index_count = header.index_count;
    mesh->loaded = true;
    SetBounds(*mesh, bytes + kMeshHeaderBytes, header.vertex_count);
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
