// Any bytes as a mesh file: the header, the counts against the size, and
// every index against the vertex count.
#include <cstdint>
#include <cstring>
#include <vector>

#include "modelio/mesh_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  MeshFileHeader header;
  const MeshFileCheck check = CheckMeshFile(bytes.data(), size, &header);
  MeshData mesh;
  if (ParseMeshFile(bytes.data(), size, mesh) != check) __builtin_trap();
  if (check != MeshFileCheck::kOk) {
    if (!mesh.vertices.empty() || !mesh.indices.empty()) __builtin_trap();
    return 0;
  }
  if (mesh.vertices.size() != header.vertex_count || mesh.indices.size() != header.index_count)
    __builtin_trap();
  for (uint16_t index : mesh.indices)
    if (index >= mesh.vertices.size()) __builtin_trap();
  // The copies hold the file's bytes.
  if (!mesh.vertices.empty() && std::memcmp(mesh.vertices.data(), bytes.data() + kMeshHeaderBytes,
                                            mesh.vertices.size() * kMeshVertexBytes))
    __builtin_trap();
  return 0;
}
