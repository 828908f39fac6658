// OBJ+MTL read throughput of our reader beside tinyobjloader on the same
// generated files, and the cost of reading and converting at 1k, 10k and
// near-capacity 50k corners.
#include <benchmark/benchmark.h>

#include <map>

#include "bench/bench_model.h"
#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"
#include "platform/fs.h"
#include "platform/sjis.h"

#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>

namespace {

const BenchModel& Model(int64_t corners) {
  static std::map<int64_t, BenchModel> models;
  auto found = models.find(corners);
  if (found != models.end()) return found->second;
  std::string folder = Utf16ToUtf8(FsTempDirectory());
  return models[corners] =
             WriteBenchModel(folder, "bench" + std::to_string(corners), static_cast<int>(corners));
}

void Report(benchmark::State& state, const BenchModel& m) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(m.obj_bytes + m.mtl_bytes));
  state.counters["corners"] = m.corners;
  state.counters["bytes"] = static_cast<double>(m.obj_bytes + m.mtl_bytes);
}

// The model record reused from read to read, as a long-running process does.
void BM_ReadObj(benchmark::State& state) {
  const BenchModel& m = Model(state.range(0));
  const std::u16string path = Utf8ToUtf16(m.obj_path);
  ObjModelPtr model = NewObjModel();
  for (auto _ : state) {
    ResetObjModel(*model);
    if (ReadObjFile(*model, path) != ObjResult::kOk || model->corner_count != m.corners) {
      state.SkipWithError("read failed");
      break;
    }
    benchmark::DoNotOptimize(model->corners[0].uv[0]);
  }
  Report(state, m);
}

// A fresh record per read, as the compiler does per model.
void BM_ReadObjNewModel(benchmark::State& state) {
  const BenchModel& m = Model(state.range(0));
  const std::u16string path = Utf8ToUtf16(m.obj_path);
  for (auto _ : state) {
    ObjModelPtr model = NewObjModel();
    if (ReadObjFile(*model, path) != ObjResult::kOk || model->corner_count != m.corners) {
      state.SkipWithError("read failed");
      break;
    }
    benchmark::DoNotOptimize(model->corners[0].uv[0]);
  }
  Report(state, m);
}

void BM_TinyObjLoader(benchmark::State& state) {
  const BenchModel& m = Model(state.range(0));
  for (auto _ : state) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, m.obj_path.c_str(), m.folder.c_str(),
                          true) ||
        materials.size() != 1) {
      state.SkipWithError("tinyobjloader failed");
      break;
    }
    benchmark::DoNotOptimize(attrib.vertices.data());
  }
  Report(state, m);
}

// Converting a read model into vertices and indices, as the compiler does
// before it writes the mesh file.
void BM_ConvertObj(benchmark::State& state) {
  const BenchModel& m = Model(state.range(0));
  ObjModelPtr model = NewObjModel();
  ReadObjFile(*model, Utf8ToUtf16(m.obj_path));
  std::vector<MeshVertex> vertices(static_cast<size_t>(model->corner_count));
  std::vector<uint16_t> indices(static_cast<size_t>(model->index_count));
  for (auto _ : state) {
    ConvertObjModel(*model, vertices.data(), indices.data(), 0.0f, 0.5f, nullptr, 1.0f);
    benchmark::DoNotOptimize(vertices.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * m.corners);
  state.counters["corners"] = m.corners;
}

// Converting a read model and writing its mesh file. The file is removed
// between runs: one that already holds the same bytes is not written again.
void BM_WriteMeshFile(benchmark::State& state) {
  const BenchModel& m = Model(state.range(0));
  ObjModelPtr model = NewObjModel();
  ReadObjFile(*model, Utf8ToUtf16(m.obj_path));
  const std::u16string mesh = MeshFilePath(Utf8ToUtf16(m.obj_path));
  for (auto _ : state) {
    state.PauseTiming();
    FsRemoveFile(mesh);
    state.ResumeTiming();
    if (!WriteMeshFile(*model, mesh, 0.5f, nullptr, 1.0f, 0.0f)) {
      state.SkipWithError("write failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (16 + 32 * m.corners + 2 * m.corners));
  state.counters["corners"] = m.corners;
}

}  // namespace

BENCHMARK(BM_ReadObj)->Arg(1000)->Arg(10000)->Arg(49998)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadObjNewModel)->Arg(1000)->Arg(10000)->Arg(49998)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TinyObjLoader)->Arg(1000)->Arg(10000)->Arg(49998)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertObj)->Arg(1000)->Arg(10000)->Arg(49998)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteMeshFile)->Arg(1000)->Arg(10000)->Arg(49998)->Unit(benchmark::kMicrosecond);
