// Small models for the model-command tests: files written into a scratch
// folder, and the bytes their mesh files and records must hold, written out
// by hand from the record and mesh-file layouts.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/test_util.h"

// Little-endian bytes appended one field at a time.
struct Bytes {
  std::vector<uint8_t> data;
  Bytes& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& F32(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return U32(bits);
  }
  Bytes& U16(uint16_t v) {
    data.push_back(static_cast<uint8_t>(v));
    data.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  Bytes& Raw(const std::vector<uint8_t>& more) {
    data.insert(data.end(), more.begin(), more.end());
    return *this;
  }
  // A fixed text field of `units` UTF-16LE units, zero padded.
  Bytes& Text(const std::u16string& text, size_t units) {
    for (size_t i = 0; i < units; ++i) U16(i < text.size() ? text[i] : 0);
    return *this;
  }
};

// The first bytes of a PNG file: signature and IHDR (the readers look no
// further).
inline std::string PngHeader(uint32_t width, uint32_t height) {
  std::string png = "\x89PNG\r\n\x1a\n";
  png += std::string("\0\0\0\x0dIHDR", 8);
  for (uint32_t v : {width, height})
    for (int i = 3; i >= 0; --i) png.push_back(static_cast<char>(v >> (8 * i)));
  png += std::string("\x08\x02\0\0\0", 5);
  png += std::string("\0\0\0\0", 4);  // CRC, not checked
  return png;
}

// One triangle (0,0,0) (1,0,0) (0,1,0) with texture coordinates (0,0) (1,0)
// (0,1), named group, one material mapped from `texture` (a 256 x 256 PNG
// beside the model), smoothing off. Writes NAME.obj and NAME.mtl.
inline void WriteTriangleModel(const std::u16string& folder, const std::string& name,
                               const std::string& texture = "t.png") {
  WriteTestFile(folder + U16(name + ".obj"),
                "mtllib " + name +
                    ".mtl\r\nv 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nvt 0 0\r\nvt 1 0\r\nvt 0 1\r\n"
                    "g tri\r\nusemtl mat\r\nf 1/1 2/2 3/3\r\n");
  WriteTestFile(folder + U16(name + ".mtl"), "newmtl mat\r\nmap_Kd " + texture + "\r\n");
  WriteTestFile(folder + U16(texture), PngHeader(256, 256));
}

// The mesh file of that triangle at scale `s`: header {100, 0x112, 3, 3};
// every normal is the flat face normal (0, 0, 1); with the V flip on, v
// becomes 1 - v; indices 0 1 2. 16 + 3 x 32 + 3 x 2 = 118 bytes.
inline std::vector<uint8_t> TriangleMesh(float s = 1.0f) {
  Bytes b;
  b.U32(100).U32(0x112).U32(3).U32(3);
  b.F32(0).F32(0).F32(0).F32(0).F32(0).F32(1).F32(0).F32(1);
  b.F32(s).F32(0).F32(0).F32(0).F32(0).F32(1).F32(1).F32(1);
  b.F32(0).F32(s).F32(0).F32(0).F32(0).F32(1).F32(0).F32(0);
  b.U16(0).U16(1).U16(2);
  return b.data;
}

// Counts the occurrences of `what` in `text`.
inline size_t CountOf(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++count;
  return count;
}
