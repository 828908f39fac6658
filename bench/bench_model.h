// A generated model of the shape exporters write (positions, texture
// coordinates, normals, one material, triangles p/t/n), for the benchmarks.
#pragma once
#include <string>

struct BenchModel {
  std::string folder;    // with a trailing '/'
  std::string obj_path;  // folder + name + ".obj"
  size_t obj_bytes = 0;
  size_t mtl_bytes = 0;
  int corners = 0;
};

// Writes "<name>.obj", "<name>.mtl" and a 256 x 256 PNG header into `folder`
// with about `corners` corners (a multiple of three).
BenchModel WriteBenchModel(const std::string& folder, const std::string& name, int corners);
