// Placeholder until the digest and scrambler land.
#include "compiler/data_file.h"

static uint32_t g_state = 1;
uint32_t NextProcessRandom() {
  g_state = g_state * 214013u + 2531011u;
  return (g_state >> 16) & 0x7FFF;
}
void ResetProcessRandom() { g_state = 1; }
void ScrambleStream(uint32_t, uint8_t*, size_t) {}
std::vector<uint8_t> BuildDataFile(const uint8_t* stream, size_t size, uint32_t random) {
  std::vector<uint8_t> out(20 + size, 0);
  out[16] = uint8_t(random);
  for (size_t i = 0; i < size; ++i) out[20 + i] = stream[i];
  return out;
}
bool OpenDataFile(const std::vector<uint8_t>& file, std::vector<uint8_t>& stream, std::string&) {
  stream.assign(file.begin() + 20, file.end());
  return true;
}
