// Scratch folders for the targets whose readers open files by name: made
// once per process inside its own temporary folder, made the current folder,
// and holding small files the fuzzed input can name (images, a sound, a
// script to include), so that those paths are reached too.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/fs.h"

struct ScratchFile {
  const char16_t* name;  // relative to the folder; sub-folders must be listed first
  std::string bytes;     // empty with a name ending in '/': a folder
};

inline void WriteScratchFile(const std::u16string& path, const std::string& bytes) {
  if (!path.empty() && path.back() == u'/')
    FsCreateDirectory(path);
  else
    FsWriteFileAtomic(path, bytes.data(), bytes.size());
}

// FsTempDirectory() + name + '/', with the files in it and below its parent.
inline std::u16string MakeScratchFolder(const char16_t* name, std::initializer_list<ScratchFile> files) {
  const std::u16string parent = FsTempDirectory();
  const std::u16string folder = parent + name + u"/";
  FsCreateDirectory(folder);
  for (const ScratchFile& f : files) WriteScratchFile(folder + f.name, f.bytes);
  FsSetCurrentDirectory(folder);
  return folder;
}

namespace scratch {

inline void PutBe32(std::string& s, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s.push_back(static_cast<char>(v >> shift));
}
inline void PutLe32(std::string& s, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) s.push_back(static_cast<char>(v >> shift));
}
inline void PutLe16(std::string& s, uint16_t v) {
  s.push_back(static_cast<char>(v));
  s.push_back(static_cast<char>(v >> 8));
}

// Signature and IHDR chunk (the readers look no further).
inline std::string Png(uint32_t width, uint32_t height, uint8_t colour_type) {
  std::string s("\x89PNG\r\n\x1a\n", 8);
  PutBe32(s, 13);
  s += "IHDR";
  PutBe32(s, width);
  PutBe32(s, height);
  s += static_cast<char>(8);
  s += static_cast<char>(colour_type);
  s.append(3, '\0');
  PutBe32(s, 0);  // CRC, which nothing checks
  return s;
}

// Mono, 8 bits, 22,050 samples per second, a few samples.
inline std::string Wave() {
  std::string s = "RIFF";
  PutLe32(s, 4 + 24 + 8 + 4);
  s += "WAVEfmt ";
  PutLe32(s, 16);
  PutLe16(s, 1);
  PutLe16(s, 1);
  PutLe32(s, 22050);
  PutLe32(s, 22050);
  PutLe16(s, 1);
  PutLe16(s, 8);
  s += "data";
  PutLe32(s, 4);
  s += "\x80\x80\x80\x80";
  return s;
}

// File header and a 40-byte info header.
inline std::string Bmp(int32_t width, int32_t height) {
  std::string s = "BM";
  PutLe32(s, 54);
  PutLe32(s, 0);
  PutLe32(s, 54);
  PutLe32(s, 40);
  PutLe32(s, static_cast<uint32_t>(width));
  PutLe32(s, static_cast<uint32_t>(height));
  PutLe16(s, 1);
  PutLe16(s, 24);
  s.append(24, '\0');
  return s;
}

// A 24-bit image block at (x, y) of `width` pixels (even) and `height`.
inline std::string Tim(uint16_t x, uint16_t y, uint16_t width, uint16_t height) {
  std::string s;
  PutLe32(s, 0x10);
  PutLe32(s, 3);
  PutLe32(s, 12);
  PutLe16(s, x);
  PutLe16(s, y);
  PutLe16(s, static_cast<uint16_t>(width * 3 / 2));
  PutLe16(s, height);
  return s;
}

}  // namespace scratch
