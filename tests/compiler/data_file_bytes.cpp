// The data file against tests/data/compiler/data_file.values, which
// tests/data_file_reference.py wrote from the format alone (hashlib MD5, the
// generators, the key and the file layout): generators, key, scrambling,
// MD5, and building and opening whole files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>

#include "compiler/data_file.h"
#include "compiler/md5.h"
#include "compiler/subtractive_generator.h"
#include "tests/case_text.h"

namespace {

// NAME -> the words after it; "md5" lines gather under "md5" in order.
std::multimap<std::string, std::vector<std::string>> ReferenceValues() {
  std::multimap<std::string, std::vector<std::string>> values;
  std::istringstream in(ReadTestFile(SourcePath("tests/data/compiler/data_file.values")));
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> words = CaseWords(line);
    if (words.empty() || words[0][0] == '#') continue;
    values.insert({words[0], std::vector<std::string>(words.begin() + 1, words.end())});
  }
  return values;
}

const std::vector<std::string>& Value(const std::string& name) {
  static const auto values = ReferenceValues();
  const auto it = values.find(name);
  static const std::vector<std::string> none{"(missing)"};
  return it == values.end() ? none : it->second;
}

std::vector<int64_t> Numbers(const std::string& name) {
  std::vector<int64_t> out;
  for (const std::string& w : Value(name)) out.push_back(std::stoll(w));
  return out;
}

std::vector<int64_t> Draw(int32_t seed, size_t count) {
  SubtractiveGenerator g;
  SeedSubtractiveGenerator(g, seed);
  std::vector<int64_t> values;
  for (size_t i = 0; i < count; ++i) values.push_back(NextSubtractiveValue(g));
  return values;
}

// 300 bytes: a 0x1500 record of 284 bytes (size 280, then i & 255) and the end record.
std::vector<uint8_t> Stream300() {
  std::vector<uint8_t> stream = HexBytes("001500001c010000" "18010000");
  for (int i = 0; i < 280; ++i) stream.push_back(uint8_t(i));
  for (uint8_t b : {1, 0, 0, 0, 0, 0, 0, 0}) stream.push_back(b);
  return stream;
}
const std::vector<uint8_t> kEndRecord = {1, 0, 0, 0, 0, 0, 0, 0};

}  // namespace

TEST(DataFileBytes, GeneratorsGiveTheReferenceSequences) {
  ResetProcessRandom();
  std::vector<int64_t> drawn;
  for (int i = 0; i < 10; ++i) drawn.push_back(NextProcessRandom());
  EXPECT_EQ(drawn, Numbers("msvc_rand"));
  // A private generator runs the same sequence without touching the process's.
  ResetProcessRandom();
  EXPECT_EQ(NextProcessRandom(), 41u);
  MsvcRandom own;
  drawn.clear();
  for (int i = 0; i < 10; ++i) drawn.push_back(NextMsvcRandom(own));
  EXPECT_EQ(drawn, Numbers("msvc_rand"));
  EXPECT_EQ(NextProcessRandom(), 18467u);

  EXPECT_EQ(Draw(41, 8), Numbers("subtractive_41"));
  EXPECT_EQ(Draw(0, 8), Numbers("subtractive_0"));
  EXPECT_EQ(Draw(kSubtractiveModulus, 8), Numbers("subtractive_max"));
  // The 56th value comes from the round run after the first 55.
  EXPECT_EQ(Draw(41, 56)[55], Numbers("subtractive_56th_41").at(0));
  // Out-of-range seeds clamp to the ends of 0..1,000,000,000.
  EXPECT_EQ(Draw(-5, 60), Draw(0, 60));
  EXPECT_EQ(Draw(2000000000, 60), Draw(kSubtractiveModulus, 60));
  EXPECT_NE(Draw(1, 8), Draw(0, 8));
}

TEST(DataFileBytes, KeyRepeatsEvery256BytesAndScramblingTwiceRestores) {
  uint8_t key[kScrambleKeyBytes];
  MakeScrambleKey(41, key);
  EXPECT_EQ(HexText(std::vector<uint8_t>(key, key + 256)), Value("key_41").at(0));
  // Every generator value is an affine function of the seed modulo 10^9, a
  // multiple of 2^9, so the key depends on the seed's low 8 bits only.
  uint8_t same[kScrambleKeyBytes];
  MakeScrambleKey(41 + 0x10000, same);
  EXPECT_EQ(std::memcmp(key, same, sizeof key), 0);
  MakeScrambleKey(42, same);
  EXPECT_NE(std::memcmp(key, same, sizeof key), 0);

  // Zero bytes show the keystream itself, including a partial last block.
  std::vector<uint8_t> zeros(600, 0);
  ScrambleStream(41, zeros.data(), zeros.size());
  for (size_t i = 0; i < zeros.size(); ++i) ASSERT_EQ(zeros[i], key[i & 255]) << "byte " << i;

  // The copying form agrees with the in-place one for every tail length.
  std::vector<uint8_t> source(1000);
  for (size_t i = 0; i < source.size(); ++i) source[i] = uint8_t(i * 13 + 5);
  for (size_t count : {0u, 1u, 255u, 256u, 257u, 511u, 512u, 1000u}) {
    std::vector<uint8_t> in_place(source.begin(), source.begin() + count), copied(count + 1, 0xEE);
    ScrambleStream(12345, in_place.data(), count);
    ScrambleCopy(12345, source.data(), copied.data(), count);
    EXPECT_TRUE(std::equal(in_place.begin(), in_place.end(), copied.begin())) << count;
    EXPECT_EQ(copied[count], 0xEE) << "wrote past " << count;
    ScrambleStream(12345, in_place.data(), count);
    EXPECT_TRUE(std::equal(in_place.begin(), in_place.end(), source.begin())) << count;
  }
}

TEST(DataFileBytes, Md5OfTheReferenceInputsWholeAndInPieces) {
  const auto values = ReferenceValues();
  int inputs = 0;
  for (auto [it, end] = values.equal_range("md5"); it != end; ++it, ++inputs) {
    const std::vector<uint8_t> input = HexBytes(it->second.at(0) == "-" ? "" : it->second.at(0));
    EXPECT_EQ(Md5Hex(Md5(input.data(), input.size())), it->second.at(1)) << it->second.at(0);
  }
  EXPECT_EQ(inputs, 11);
  // Pieces that split blocks everywhere give the digest of one update.
  std::vector<uint8_t> bytes(1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7 + 3);
  EXPECT_EQ(Md5Hex(Md5(bytes.data(), bytes.size())), Value("md5_pattern_1000").at(0));
  for (size_t piece : {1u, 3u, 63u, 64u, 65u, 200u}) {
    Md5Context c;
    Md5Init(c);
    for (size_t at = 0; at < bytes.size(); at += piece) {
      Md5Update(c, bytes.data() + at, std::min(piece, bytes.size() - at));
      Md5Update(c, nullptr, 0);
    }
    EXPECT_EQ(Md5Hex(Md5Final(c)), Value("md5_pattern_1000").at(0)) << "pieces of " << piece;
  }
}

TEST(DataFileBytes, BuiltFilesMatchTheReferenceAndOpenAgain) {
  const std::vector<uint8_t> smallest = BuildDataFile(kEndRecord.data(), kEndRecord.size(), 41);
  EXPECT_EQ(smallest.size(), kSmallestDataFileBytes);
  EXPECT_EQ(HexText(smallest), Value("file_end_41").at(0));
  EXPECT_EQ(HexText(BuildDataFile(kEndRecord.data(), kEndRecord.size(), 0x7FABCDEF)),
            Value("file_end_masked").at(0));
  const std::vector<uint8_t> stream = Stream300();
  const std::vector<uint8_t> file = BuildDataFile(stream.data(), stream.size(), 18467);
  EXPECT_EQ(HexText(file), Value("file_300_18467").at(0));

  std::vector<uint8_t> opened;
  std::string error;
  DataFileHeader header;
  ASSERT_TRUE(OpenDataFile(file, opened, error, &header)) << error;
  EXPECT_EQ(opened, stream);
  EXPECT_EQ(header.seed, 18467u);
  EXPECT_EQ(header.digest, Md5(stream.data(), stream.size()));
  // A stream longer than many key periods, with a seed of 24 bits.
  std::vector<uint8_t> large(70000);
  for (size_t i = 0; i < large.size(); ++i) large[i] = uint8_t(i * 31 >> 3);
  ASSERT_TRUE(OpenDataFile(BuildDataFile(large.data(), large.size(), 0xFFFFFF), opened, error)) << error;
  EXPECT_EQ(opened, large);
}
