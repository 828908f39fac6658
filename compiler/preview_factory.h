// How the compiler makes the objects the preview draws: meshes made from
// mesh-file bytes, textures made from PNG bytes and the guide-line batch. The
// Windows program backs them with Direct3D; the command-line tool and the
// tests use the recording factory, which needs no device.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// A mesh the preview draws. The compiler owns it: destroying it releases
// whatever the factory attached to it.
class PreviewMesh {
 public:
  virtual ~PreviewMesh() = default;

  uint32_t vertex_format = 0;  // flexible vertex format code
  uint32_t vertex_count = 0;
  uint32_t index_count = 0;
  bool loaded = false;  // false: an empty mesh (its file did not load)
  // Box around the positions (99999 / -99999 when there are none); always
  // set on the sphere-mapped copy, which the preview's reflection uses.
  float bounds_min[3] = {0, 0, 0};
  float bounds_max[3] = {0, 0, 0};
  std::u16string source;  // the mesh file it was loaded from; empty for a copy
};

class PreviewTexture {
 public:
  virtual ~PreviewTexture() = default;

  uint32_t width = 0;
  uint32_t height = 0;
  size_t source_bytes = 0;  // size of the image file it was made from
};

// The batch of 3D guide lines drawn under the vehicle.
class PreviewLineBatch {
 public:
  virtual ~PreviewLineBatch() = default;

  uint32_t capacity_lines = 0;
};

// The body's mesh carries a second texture-coordinate set, which the
// preview's sphere mapping fills: position, normal, two sets.
constexpr uint32_t kSphereMappedVertexFormat = 0x212;

class PreviewFactory {
 public:
  virtual ~PreviewFactory() = default;

  // A mesh made from the bytes of a mesh file, `source` naming that file.
  // Bytes that fail the mesh-file checks still give an (empty) mesh; null
  // only when no object could be made at all.
  virtual std::unique_ptr<PreviewMesh> LoadMeshBytes(const uint8_t* data, size_t size,
                                                     const std::u16string& source) = 0;
  // A copy of `source` in kSphereMappedVertexFormat with its indices and its
  // bounding box computed; null when it cannot be made.
  virtual std::unique_ptr<PreviewMesh> CopySphereMapped(const PreviewMesh& source) = 0;
  // A texture drawn from PNG bytes without alpha; null when the bytes do not
  // decode or no object could be made.
  virtual std::unique_ptr<PreviewTexture> CreateTexture(const uint8_t* png, size_t size) = 0;
  virtual std::unique_ptr<PreviewLineBatch> CreateLineBatch(uint32_t capacity_lines) = 0;
};
