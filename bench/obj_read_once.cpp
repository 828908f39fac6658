// Reads one generated model once, for instruction counts under callgrind:
//   obj_read_once FOLDER CORNERS [tiny]
// writes the model into FOLDER (when it is not there yet) and reads it with
// our reader and converts it, or reads it with tinyobjloader when "tiny" is
// given. Count only the read:
//   valgrind --tool=callgrind --toggle-collect=ReadObjFile* obj_read_once ...
//   valgrind --tool=callgrind --toggle-collect=ReadMeasured* obj_read_once --file MODEL.obj FOLDER
// reads a model file of the tests or examples instead, with the default
// options, after reading a small generated model, as a make reads its
// second model: what a process pays once (its first allocations, thread
// storage) is not the file's. "read N bytes" counts the OBJ and the MTL
// files it names.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_model.h"
#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"
#include "platform/fs.h"
#include "platform/sjis.h"

#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>

// Kept out of line so callgrind can collect it alone.
__attribute__((noinline)) bool TinyObjRead(const BenchModel& m) {
  tinyobj::attrib_t attrib;
  std::vector<tinyobj::shape_t> shapes;
  std::vector<tinyobj::material_t> materials;
  std::string warn, err;
  return tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, m.obj_path.c_str(), m.folder.c_str(),
                          true);
}

// The OBJ's size and those of the MTL files its mtllib lines name (one name
// a line, as the tests and examples write them).
size_t InputBytes(const std::string& obj_path) {
  auto size_of = [](const std::string& path) -> size_t {
    uint64_t size = 0;
    return FsFileStat(Utf8ToUtf16(path), &size, nullptr) ? static_cast<size_t>(size) : 0;
  };
  const std::string folder = obj_path.substr(0, obj_path.find_last_of('/') + 1);
  size_t bytes = size_of(obj_path);
  std::FILE* f = std::fopen(obj_path.c_str(), "rb");
  char line[1100];
  while (f && std::fgets(line, sizeof line, f)) {
    std::string s(line);
    if (s.compare(0, 7, "mtllib ") != 0) continue;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    bytes += size_of(folder + s.substr(7));
  }
  if (f) std::fclose(f);
  return bytes;
}

// Kept out of line so callgrind can collect it alone.
__attribute__((noinline)) ObjResult ReadMeasured(ObjModel& model, const std::u16string& path) {
  return ReadObjFile(model, path);
}

int ReadModelFile(const std::string& path, std::string scratch) {
  if (scratch.back() != '/') scratch += '/';
  const BenchModel first = WriteBenchModel(scratch, "first", 99);
  ReadObjFile(*NewObjModel(), Utf8ToUtf16(first.obj_path));
  ObjModelPtr model = NewObjModel();
  const ObjResult result = ReadMeasured(*model, Utf8ToUtf16(path));
  std::printf("read %zu bytes (%s), result %08x, %d corners\n", InputBytes(path), path.c_str(),
              static_cast<unsigned>(result), model->corner_count);
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--file") return ReadModelFile(argv[2], argv[3]);
  if (argc < 3) {
    std::fprintf(stderr, "usage: obj_read_once FOLDER CORNERS [tiny]\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') folder += '/';
  const int corners = std::atoi(argv[2]);
  BenchModel m = WriteBenchModel(folder, "once" + std::to_string(corners), corners);
  bool ok;
  if (argc > 3 && std::string(argv[3]) == "tiny") {
    ok = TinyObjRead(m);
  } else {
    ObjModelPtr model = NewObjModel();
    ok = ReadObjFile(*model, Utf8ToUtf16(m.obj_path)) == ObjResult::kOk && model->corner_count == m.corners;
    // And the conversion the compiler does next, counted on its own with
    // --toggle-collect='ConvertObjModel*'.
    std::vector<MeshVertex> vertices(static_cast<size_t>(model->corner_count));
    std::vector<uint16_t> indices(static_cast<size_t>(model->index_count));
    if (ok) ConvertObjModel(*model, vertices.data(), indices.data(), 0.0f, 0.5f, nullptr, 1.0f);
  }
  std::printf("%s %zu bytes (obj %zu + mtl %zu), %d corners\n", ok ? "read" : "FAILED",
              m.obj_bytes + m.mtl_bytes, m.obj_bytes, m.mtl_bytes, m.corners);
  return ok ? 0 : 1;
}
