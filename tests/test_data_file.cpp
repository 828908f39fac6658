// The data file: process generator, subtractive generator, key, scrambling,
// and building and opening whole files.
//
// The values under "// reference NAME" were printed by
// tests/data_file_reference.py, an independent Python rendering of the file
// format (hashlib MD5, the generators written from their description); the
// ctest entry data_file_reference re-runs it and compares with this file.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "compiler/data_file.h"
#include "compiler/subtractive_generator.h"
#include "tests/test_data_file_util.h"

namespace {

// reference msvc_rand
const uint32_t kMsvcRand[10] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
// reference subtractive_41
const int32_t kSubtractive41[8] = {949156324, 96096598,  803165099, 305001974,
                                   509093161, 723881264, 249948820, 221551447};
// reference subtractive_0
const int32_t kSubtractive0[8] = {692824711, 864580962, 30005235,  582587907,
                                  374502020, 691129358, 158555101, 9323396};
// reference subtractive_max
const int32_t kSubtractiveMax[8] = {692824711, 864580962, 30005235,  582587907,
                                    374502020, 691129358, 158555101, 9323396};
// reference subtractive_56th_41
const int32_t kSubtractive56th41 = 277166636;
// reference key_41
const char* kKey41 =
    "e456abf6293094573bf930eeaf3db6bdd93fba2eb957be227fb5326c2e409ab8aabc4ad9c9fdd473ebf3abca4f51375ba0b32dec"
    "bca4"
    "1c2cacefac50679783c80e3d43e5ee65867e9f0701cd9b1a06530943c0ded90335e2ae0d96e40f6fed6d54a4c982b61d554daaea"
    "2cdecb"
    "19f7ca419fba838814dba1e99f1c6caf6929525d17a1bd4fed5c3f022124567b21070d24f7c8a3c084440247b2e1f9ce68f16be8"
    "0bba"
    "759ed6c3347bc3bbe554575de7586a8bb69bc161f22f9603da4f867ccea6619b96cdb0b03d9f5e180ae983a155834bf6f4196bef"
    "1a65"
    "59da080913843e245dcd4a6eda4603e740c0a7a8f6031531aa00477d694a683d3ec98342d6f79c";
// The smallest file: the end record alone, seed 41.
// reference file_end_41
const char* kFileEnd41 = "33cdeccccebe80329f1fdbee7f5874cb29000000e556abf629309457";
// 300 bytes (a 0x1500 record of 284 bytes, then the end record), seed 18467:
// the key repeats from stream byte 256 on.
// reference file_300_18467
const char* kFile300 =
    "26ba9d719095c3506ded23a9ae77cdaf23480000664bdb9467455ab58d10a8e0f91c224cbfeab8e34566b249b9240eeb60930ced"
    "1023"
    "8c18d5d898caf3869f8141aa2f80888e0f8594e566437688d44347a801f71638696c84ac78237f2e8594f3adb40e8b1eac4343cc"
    "810b"
    "58c0fe3d55bcdd840c3bb5e18078f7048093e6e7a1a6ff79f508da62fc2f5f20d99c1669cd5019974398858c5356caceb6003679"
    "710489"
    "4a5c3a7c78b8e7e6ffbb7b4d5266ef3db490aee62c4e8195530960950ab6667de21e27e54783449fbb451525dfe92914b15cfe4d"
    "ebd7"
    "fd502cb9c502ef83befde4c9ce9441edde4bc99fe80eb5791a0c2d2c460f115cb9d848a9e5507a28ff6d04818356380732ce01bf"
    "856d"
    "46307b678192ab2d6383bda04e69ec561ff91c224cbfeab8e34566b249b9240eeb60930ced10238c18ccc182d1ef9b819e";
// The end record with the generator value 0x7FABCDEF, masked to 0xABCDEF.
// reference file_end_masked
const char* kFileEndMasked = "33cdeccccebe80329f1fdbee7f5874cbefcdab00234e7b98979c0e39";

std::vector<uint8_t> Stream300() {
  std::vector<uint8_t> data;
  PutLe32(data, 280);
  for (int i = 0; i < 280; ++i) data.push_back(uint8_t(i));
  std::vector<uint8_t> stream;
  PutRecord(stream, 0x1500, data);
  const std::vector<uint8_t> end = EndRecord();
  stream.insert(stream.end(), end.begin(), end.end());
  return stream;
}

std::vector<int32_t> Draw(int32_t seed, size_t count) {
  SubtractiveGenerator g;
  SeedSubtractiveGenerator(g, seed);
  std::vector<int32_t> values;
  for (size_t i = 0; i < count; ++i) values.push_back(NextSubtractiveValue(g));
  return values;
}

}  // namespace

TEST(DataFileGenerators, ProcessGeneratorIsTheMsvcRecurrenceFromItsDefaultState) {
  ResetProcessRandom();
  for (uint32_t expected : kMsvcRand) EXPECT_EQ(NextProcessRandom(), expected);
  ResetProcessRandom();
  EXPECT_EQ(NextProcessRandom(), 41u);
  // A private generator runs the same sequence without touching the process's.
  MsvcRandom own;
  for (uint32_t expected : kMsvcRand) EXPECT_EQ(NextMsvcRandom(own), expected);
  EXPECT_EQ(NextProcessRandom(), 18467u);
}

TEST(DataFileGenerators, SubtractiveSequencesAndSeedClamping) {
  EXPECT_EQ(Draw(41, 8), std::vector<int32_t>(kSubtractive41, kSubtractive41 + 8));
  EXPECT_EQ(Draw(0, 8), std::vector<int32_t>(kSubtractive0, kSubtractive0 + 8));
  EXPECT_EQ(Draw(kSubtractiveModulus, 8), std::vector<int32_t>(kSubtractiveMax, kSubtractiveMax + 8));
  // The 56th value comes from the round run after the first 55.
  EXPECT_EQ(Draw(41, 56)[55], kSubtractive56th41);
  // Out-of-range seeds clamp to the ends of 0..1,000,000,000.
  EXPECT_EQ(Draw(-5, 60), Draw(0, 60));
  EXPECT_EQ(Draw(2000000000, 60), Draw(kSubtractiveModulus, 60));
  EXPECT_NE(Draw(1, 8), Draw(0, 8));
}

TEST(DataFileScrambler, KeyRepeatsEvery256BytesAndScramblingTwiceRestores) {
  uint8_t key[kScrambleKeyBytes];
  MakeScrambleKey(41, key);
  EXPECT_EQ(std::vector<uint8_t>(key, key + 256), FromHex(kKey41));

  // Every value of the generator is an affine function of the seed modulo
  // 10^9, a multiple of 2^9, so the key bytes depend on the seed's low 8 bits
  // only: a file whose seed differs above them descrambles the same.
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

TEST(DataFileBuild, BytesMatchTheReferenceComputation) {
  const std::vector<uint8_t> end = EndRecord();
  const std::vector<uint8_t> smallest = BuildDataFile(end.data(), end.size(), 41);
  EXPECT_EQ(smallest.size(), kSmallestDataFileBytes);
  EXPECT_EQ(smallest, FromHex(kFileEnd41));

  const std::vector<uint8_t> stream = Stream300();
  ASSERT_EQ(stream.size(), 300u);
  const std::vector<uint8_t> file = BuildDataFile(stream.data(), stream.size(), 18467);
  EXPECT_EQ(file, FromHex(kFile300));
  // Stream bytes 0 and 256 meet the same key byte.
  EXPECT_EQ(file[20] ^ stream[0], file[20 + 256] ^ stream[256]);

  EXPECT_EQ(BuildDataFile(end.data(), end.size(), 0x7FABCDEF), FromHex(kFileEndMasked));
}

TEST(DataFileOpen, RoundTripGivesTheStreamAndHeaderBack) {
  ResetProcessRandom();
  const std::vector<uint8_t> stream = Stream300();
  const std::vector<uint8_t> file = BuildDataFile(stream.data(), stream.size(), NextProcessRandom());
  std::vector<uint8_t> opened;
  std::string error;
  DataFileHeader header;
  ASSERT_TRUE(OpenDataFile(file, opened, error, &header)) << error;
  EXPECT_EQ(opened, stream);
  EXPECT_EQ(header.seed, 41u);
  EXPECT_EQ(header.digest, Md5(stream.data(), stream.size()));

  // A stream longer than many key periods, with a seed of 24 bits.
  std::vector<uint8_t> large(70000);
  for (size_t i = 0; i < large.size(); ++i) large[i] = uint8_t(i * 31 >> 3);
  ASSERT_TRUE(OpenDataFile(BuildDataFile(large.data(), large.size(), 0xFFFFFF), opened, error)) << error;
  EXPECT_EQ(opened, large);
}

TEST(DataFileOpen, AnyFlippedByteOrTruncationIsReported) {
  const std::vector<uint8_t> stream = Stream300();
  const std::vector<uint8_t> file = BuildDataFile(stream.data(), stream.size(), 6334);
  std::vector<uint8_t> opened;
  std::string error;
  // Digest, seed, first, key-repeating and last stream bytes.
  for (size_t at : {0u, 15u, 16u, 20u, 276u, 319u}) {
    std::vector<uint8_t> damaged = file;
    damaged[at] ^= 0x01;
    EXPECT_FALSE(OpenDataFile(damaged, opened, error)) << "byte " << at;
    EXPECT_EQ(error.rfind("digest mismatch", 0), 0u) << error;
    EXPECT_TRUE(opened.empty());
  }
  // A file cut anywhere before its end no longer matches its digest; below
  // 28 bytes it cannot even hold the end record.
  for (size_t size : {0u, 1u, 19u, 20u, 27u, 28u, 299u}) {
    std::vector<uint8_t> cut(file.begin(), file.begin() + size);
    EXPECT_FALSE(OpenDataFile(cut, opened, error)) << size;
    const char* expected = size < 28 ? "truncated: " : "digest mismatch";
    EXPECT_EQ(error.rfind(expected, 0), 0u) << size << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}
