// Helpers shared by the data file tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<uint8_t> FromHex(const std::string& hex) {
  auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(uint8_t(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
  return out;
}

inline void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
inline void PutLe16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

// A record: tag, length, data.
inline void PutRecord(std::vector<uint8_t>& out, uint32_t tag, const std::vector<uint8_t>& data) {
  PutLe32(out, tag);
  PutLe32(out, uint32_t(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

inline std::vector<uint8_t> EndRecord() {
  return {1, 0, 0, 0, 0, 0, 0, 0};
}
