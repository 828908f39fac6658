#include "project/vehicle_project.h"

#include "platform/fs.h"

void ResetProject(VehicleProject& p) {
  const FixedText<64> maker = p.maker;
  std::u16string folder = std::move(p.folder);
  p = VehicleProject();
  p.maker = maker;
  p.folder = std::move(folder);
}

std::u16string ProjectPath(const VehicleProject& p, std::u16string_view path) {
  return FsResolve(p.folder, std::u16string(path));
}

void SetOutPath(VehicleProject& p, std::u16string_view path) {
  p.outpath.Set(path);
  // One trailing backslash goes, then a slash that is left at the end.
  size_t n = p.outpath.size();
  if (n > 0 && p.outpath.units[n - 1] == u'\\') p.outpath.units[--n] = 0;
  if (n > 0 && p.outpath.units[n - 1] == u'/') p.outpath.units[--n] = 0;
}

int AddContainer(VehicleProject& p) {
  for (int i = 0; i < kContainerCount; ++i) {
    if (p.container[i].type == 0) {
      p.container[i] = ContainerSlot{1, 0, 0, 0};
      return i;
    }
  }
  return -1;
}

bool GetContainer(const VehicleProject& p, int index, ContainerSlot& out) {
  if (index < 0 || index >= kContainerCount) return false;
  out = p.container[index];
  return true;
}

static float Clamp(float v, float low, float high) {
  return v < low ? low : (v > high ? high : v);
}

void SetContainer(VehicleProject& p, int index, int32_t type, float x, float y, float z) {
  if (index < 0 || index >= kContainerCount) return;
  p.container[index] = ContainerSlot{type, Clamp(x, -200, 200), Clamp(y, 0, 100), Clamp(z, -50, 50)};
}

void SortContainers(VehicleProject& p) {
  for (int pass = 0; pass < kContainerCount - 1; ++pass) {
    for (int i = 0; i + 1 < kContainerCount - pass; ++i) {
      if (p.container[i].type > p.container[i + 1].type) {
        ContainerSlot t = p.container[i];
        p.container[i] = p.container[i + 1];
        p.container[i + 1] = t;
      }
    }
  }
}
