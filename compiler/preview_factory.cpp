#include "compiler/preview_factory.h"

#include <vector>

#include "platform/fs.h"

std::unique_ptr<PreviewMesh> PreviewFactory::LoadMesh(const std::u16string& mesh_path) {
  std::vector<uint8_t> bytes;
  if (!FsReadFile(mesh_path, bytes)) bytes.clear();
  return LoadMeshBytes(bytes.data(), bytes.size(), mesh_path);
}
