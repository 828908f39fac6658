#include "platform/files.h"

#include "platform/fs.h"
#include "platform/sjis.h"

bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& out) {
  return FsReadFile(path, out) && !out.empty();
}

bool WriteWholeFile(const std::u16string& path, const void* data, size_t size) {
  return FsWriteFileAtomic(path, data, size, FsFlush::kToDisk);
}

bool ReadUtf8TextFile(const std::u16string& path, std::u16string& text) {
  std::vector<uint8_t> bytes;
  if (!FsReadFile(path, bytes)) return false;
  size_t start = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
  std::string utf8;
  utf8.reserve(bytes.size());
  for (size_t i = start; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    utf8.push_back(static_cast<char>(bytes[i]));
  }
  text = Utf8ToUtf16(utf8);
  return true;
}

void SanitizeFileName(std::u16string& text) {
  for (char16_t& c : text) {
    switch (c) {
      case u'"':
      case u'\'':
      case u'*':
      case u'/':
      case u':':
      case u'<':
      case u'>':
      case u'?':
      case u'\\':
      case u'|':
        c = u'_';
        break;
      default:
        if (c < 0x20) c = u'_';
    }
  }
}
