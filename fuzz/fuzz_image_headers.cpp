// The header checks of every image and sound the program takes: PNG (the
// project's texture and side-view checks, the compiler's size read, the
// model reader's texture page), BMP and TIM texture headers, and RIFF WAVE.
#include <cstdint>
#include <vector>

#include "modelio/obj_model.h"
#include "platform/image_headers.h"
#include "project/file_checks.h"

namespace {

void CheckSides(const ImageHeader& h, uint32_t max_side) {
  if (h.status == ImageHeaderStatus::kOk &&
      (h.width < 1 || h.height < 1 || h.width > max_side || h.height > max_side))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Exact-size copies, so that a read past the end is caught.
  const std::vector<uint8_t> bytes(data, data + size);
  const uint8_t* p = bytes.empty() ? nullptr : bytes.data();

  PngHeader png;
  ReadPngSize(p, size, png);
  CheckSides(ReadPngImageHeader(p, size, kObjMaxTextureSide), kObjMaxTextureSide);
  CheckSides(ReadBmpImageHeader(p, size, kObjMaxTextureSide), kObjMaxTextureSide);
  ImageHeader tim = ReadTimImageHeader(p, size);
  if (tim.status == ImageHeaderStatus::kOk && (tim.bits != 24 || tim.x % 2 != 0 || tim.width % 2 != 0))
    __builtin_trap();

  for (FileKind kind : {FileKind::kMainTexture, FileKind::kSideView, FileKind::kSubTexture, FileKind::kWave})
    CheckFileData(kind, bytes);
  return 0;
}
