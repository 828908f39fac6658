#include "bench/bench_model.h"

#include <cmath>
#include <cstdio>
#include <fstream>

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Append(std::string& s, const char* format, double a, double b, double c = 0.0) {
  char line[128];
  int n = std::snprintf(line, sizeof line, format, a, b, c);
  s.append(line, static_cast<size_t>(n));
}

}  // namespace

BenchModel WriteBenchModel(const std::string& folder, const std::string& name, int corners) {
  const int triangles = corners / 3;
  const int cells = (triangles + 1) / 2;
  const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(cells))));
  const int row = side + 1;

  std::string obj = "# generated bench model\nmtllib " + name + ".mtl\no body\n";
  for (int j = 0; j <= side; ++j)
    for (int i = 0; i <= side; ++i) {
      double x = i * 0.05 - 1.0, z = j * 0.05 - 1.0;
      Append(obj, "v %.6f %.6f %.6f\n", x, 0.25 * std::sin(3.0 * x) * std::cos(2.0 * z), z);
    }
  for (int j = 0; j <= side; ++j)
    for (int i = 0; i <= side; ++i) Append(obj, "vt %.6f %.6f\n", double(i) / side, double(j) / side);
  for (int j = 0; j <= side; ++j)
    for (int i = 0; i <= side; ++i) {
      double nx = -0.2 * std::sin(0.1 * i), nz = 0.15 * std::cos(0.1 * j);
      double ny = std::sqrt(1.0 - nx * nx - nz * nz);
      Append(obj, "vn %.4f %.4f %.4f\n", nx, ny, nz);
    }
  obj += "g body\nusemtl paint\ns 1\n";
  int written = 0;
  char line[160];
  for (int j = 0; j < side && written < triangles; ++j)
    for (int i = 0; i < side && written < triangles; ++i) {
      int a = j * row + i + 1, b = a + 1, c = a + row, d = c + 1;
      int n = std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, d, d, d);
      obj.append(line, static_cast<size_t>(n));
      if (++written == triangles) break;
      n = std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, d, d, d, c, c, c);
      obj.append(line, static_cast<size_t>(n));
      ++written;
    }

  const std::string mtl =
      "newmtl paint\nNs 96.0\nKa 1.000 1.000 1.000\nKd 0.800 0.800 0.800\nKs 0.5 0.5 0.5\nd 1.0\nillum 2\n"
      "map_Kd " +
      name + ".png\n";
  // The PNG signature and IHDR of a 256 x 256 image: all the reader looks at.
  const std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x01\0\0\0\x01\0\x08\x06\0\0\0\0\0\0\0", 33);

  BenchModel model;
  model.folder = folder;
  model.obj_path = folder + name + ".obj";
  WriteFile(model.obj_path, obj);
  WriteFile(folder + name + ".mtl", mtl);
  WriteFile(folder + name + ".png", png);
  model.obj_bytes = obj.size();
  model.mtl_bytes = mtl.size();
  model.corners = written * 3;
  return model;
}
