#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "compiler/md5.h"
#include "tests/test_data_file_util.h"

namespace {

std::string HexOf(const std::string& text) {
  return Md5Hex(Md5(text.data(), text.size()));
}

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i * 7 + 3);
  return bytes;
}

}  // namespace

TEST(Md5, Rfc1321TestSuite) {
  EXPECT_EQ(HexOf(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(HexOf("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(HexOf("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(HexOf("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(HexOf("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(HexOf("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(HexOf("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
}

// Inputs whose padding falls on each side of the 56-byte boundary, and an
// input of many blocks, checked against hashlib (data_file_reference.py).
TEST(Md5, PaddingBoundariesAndManyBlocks) {
  // From md5sum of 55, 56, 63 and 64 letters 'a'.
  EXPECT_EQ(HexOf(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
  EXPECT_EQ(HexOf(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(HexOf(std::string(63, 'a')), "b06521f39153d618550606be297466d5");
  EXPECT_EQ(HexOf(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");

  // reference md5_pattern_1000
  const char* kPattern1000 = "10046f077f2082ac19676b8079f1cb1a";
  const std::vector<uint8_t> bytes = Pattern(1000);
  EXPECT_EQ(Md5Hex(Md5(bytes.data(), bytes.size())), kPattern1000);

  // The same bytes fed in pieces that split blocks everywhere give the same
  // digest as one update.
  for (size_t piece : {1u, 3u, 63u, 64u, 65u, 200u}) {
    Md5Context c;
    Md5Init(c);
    for (size_t at = 0; at < bytes.size(); at += piece) {
      Md5Update(c, bytes.data() + at, std::min(piece, bytes.size() - at));
      Md5Update(c, nullptr, 0);
    }
    EXPECT_EQ(Md5Hex(Md5Final(c)), kPattern1000) << "pieces of " << piece;
  }
}
