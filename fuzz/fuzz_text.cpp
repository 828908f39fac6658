// Shift-JIS and UTF-8 conversions and the PNG header check on any bytes.
#include <cstdint>
#include <string>

#include "platform/image_headers.h"
#include "platform/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::u16string text = SjisToUtf16(bytes);
  std::string back;
  Utf16ToSjis(text, back);
  std::u16string wide = Utf8ToUtf16(bytes);
  std::string narrow = Utf16ToUtf8(wide);
  if (Utf8ToUtf16(narrow) != wide) __builtin_trap();  // UTF-8 we write reads back the same
  PngHeader header;
  ReadPngSize(data, size, header);
  return 0;
}
