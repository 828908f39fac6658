// MD5 message digest (RFC 1321): the check sum of a vehicle data file.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

using Md5Digest = std::array<uint8_t, 16>;

struct Md5Context {
  uint32_t state[4];
  uint64_t total_bytes;
  uint8_t pending[64];  // the start of a block not yet complete
  size_t pending_bytes;
};

void Md5Init(Md5Context& c);
void Md5Update(Md5Context& c, const void* data, size_t size);
// Pads, appends the bit length and returns the digest in its standard byte
// order. The context must be initialised again before further use.
Md5Digest Md5Final(Md5Context& c);

Md5Digest Md5(const void* data, size_t size);
// 32 lower-case hexadecimal digits.
std::string Md5Hex(const Md5Digest& digest);
