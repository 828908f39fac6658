// Small file and header helpers shared by the project, the compiler and the
// model reader.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kResultOk = 0;
constexpr uint32_t kResultFail = 0x80004005;  // E_FAIL

// Whole file into `out`. False for a missing, unreadable or empty file.
bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& out);
// 1 when every byte was written and flushed to disk; the target is replaced
// only then. For the files an author keeps: data files, projects, scripts.
int WriteWholeFile(const std::u16string& path, const void* data, size_t size);
// UTF-8 text file as UTF-16: CR LF becomes LF, a byte-order mark is dropped.
// False when the file cannot be opened.
bool ReadUtf8TextFile(const std::u16string& path, std::u16string& text);
// Control characters and "'*/:<>?\| become '_' so the text can name a file.
void SanitizeFileName(std::u16string& text);

struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bit_depth = 0;
  bool truecolour = false;  // colour type 2 or 6
  bool alpha = false;       // colour type 6
};
// Reads the IHDR fields of PNG data. kResultFail, with `header` untouched,
// when the data does not start with the signature or is too short.
uint32_t ReadPngSize(const uint8_t* data, size_t size, PngHeader& header);
