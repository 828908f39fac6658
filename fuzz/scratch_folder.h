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

// FsTempDirectory() + name + '/', with the files in it and below its parent.
inline std::u16string MakeScratchFolder(const char16_t* name, std::initializer_list<ScratchFile> files) {
  const std::u16string folder = FsTempDirectory() + name + u"/";
  FsCreateDirectory(folder);
  for (const ScratchFile& f : files) {
    const std::u16string path = folder + f.name;
    if (path.back() == u'/')
      FsCreateDirectory(path);
    else
      FsWriteFileAtomic(path, f.bytes.data(), f.bytes.size());
  }
  FsSetCurrentDirectory(folder);
  return folder;
}

namespace scratch {

// Each value in `bytes` bytes, least significant first unless `big_endian`.
inline void Put(std::string& s, std::initializer_list<uint32_t> values, int bytes, bool big_endian = false) {
  for (uint32_t v : values)
    for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>(v >> 8 * (big_endian ? bytes - 1 - i : i)));
}

// Signature and IHDR chunk (the readers look no further), CRC unchecked.
inline std::string Png(uint32_t width, uint32_t height, uint8_t colour_type) {
  std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  Put(s, {width, height}, 4, true);
  Put(s, {8, colour_type, 0, 0, 0}, 1);
  s.append(4, '\0');
  return s;
}

// Mono, 8 bits, 22,050 samples per second, a few samples.
inline std::string Wave() {
  std::string s = "RIFF";
  Put(s, {4 + 24 + 8 + 4}, 4);
  s += "WAVEfmt ";
  Put(s, {16}, 4);
  Put(s, {1, 1}, 2);
  Put(s, {22050, 22050}, 4);
  Put(s, {1, 8}, 2);
  s += "data";
  Put(s, {4}, 4);
  return s + "\x80\x80\x80\x80";
}

// File header and a 40-byte info header.
inline std::string Bmp(int32_t width, int32_t height) {
  std::string s = "BM";
  Put(s, {54, 0, 54, 40, static_cast<uint32_t>(width), static_cast<uint32_t>(height)}, 4);
  Put(s, {1, 24}, 2);
  return s + std::string(24, '\0');
}

// A 24-bit image block at (x, y) of `width` pixels (even) and `height`.
inline std::string Tim(uint16_t x, uint16_t y, uint16_t width, uint16_t height) {
  std::string s;
  Put(s, {0x10, 3, 12}, 4);
  Put(s, {x, y, static_cast<uint32_t>(width * 3 / 2), height}, 2);
  return s;
}

}  // namespace scratch
