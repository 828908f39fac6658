#include "tests/test_obj_util.h"

#include "tests/test_util.h"

ObjFolder::ObjFolder() : dir(MakeTempFolder()), model(NewObjModel()) {
  model->message_text = &messages;
  model->message_capacity = kObjMessageCapacity;
}

void ObjFolder::File(const std::string& name, const std::string& bytes) const {
  WriteTestFile(Path(name), bytes);
}

std::u16string ObjFolder::Path(const std::string& name) const {
  return dir + U16(name);
}

ObjResult ObjFolder::Read(const std::string& name) {
  return ReadObjFile(*model, Path(name));
}

std::string ObjFolder::Messages() const {
  return U8(messages);
}

namespace {
void PutBigEndian(std::string& s, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s.push_back(static_cast<char>(v >> shift));
}
void PutLittleEndian(std::string& s, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}
}  // namespace

std::string PngBytes(uint32_t width, uint32_t height) {
  std::string s("\x89PNG\r\n\x1A\n", 8);
  PutBigEndian(s, 13);
  s += "IHDR";
  PutBigEndian(s, width);
  PutBigEndian(s, height);
  s += std::string("\x08\x06\x00\x00\x00", 5);
  PutBigEndian(s, 0);  // CRC, not looked at
  return s;
}

std::string BmpBytes(int32_t width, int32_t height) {
  std::string s = "BM";
  PutLittleEndian(s, 54 + 4, 4);  // file size
  PutLittleEndian(s, 0, 4);
  PutLittleEndian(s, 54, 4);  // pixel offset
  PutLittleEndian(s, 40, 4);  // info header size
  PutLittleEndian(s, static_cast<uint32_t>(width), 4);
  PutLittleEndian(s, static_cast<uint32_t>(height), 4);
  PutLittleEndian(s, 1, 2);
  PutLittleEndian(s, 24, 2);
  s.resize(58, '\0');
  return s;
}

std::string TimBytes(uint32_t flags, uint16_t x, uint16_t y, uint16_t stored_width, uint16_t height) {
  std::string s;
  PutLittleEndian(s, 0x10, 4);
  PutLittleEndian(s, flags, 4);
  PutLittleEndian(s, 12 + 4, 4);  // block length
  PutLittleEndian(s, x, 2);
  PutLittleEndian(s, y, 2);
  PutLittleEndian(s, stored_width, 2);
  PutLittleEndian(s, height, 2);
  s.resize(s.size() + 4, '\0');
  return s;
}
