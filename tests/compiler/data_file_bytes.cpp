// The data file against tests/data/compiler/data_file.values, which
// tests/data_file_reference.py wrote from the format alone (hashlib MD5, the
// generators, the key and the file layout): one operation a line, its
// inputs, the results it must give.
#include <gtest/gtest.h>

#include <algorithm>

#include "compiler/data_file.h"
#include "compiler/md5.h"
#include "compiler/subtractive_generator.h"
#include "platform/fs.h"
#include "tests/case_text.h"
#include "tests/test_util.h"

namespace {

std::string Numbers(const std::vector<int64_t>& values) {
  std::string out;
  for (int64_t v : values) out += (out.empty() ? "" : " ") + std::to_string(v);
  return out;
}

std::vector<int64_t> Draw(int32_t seed, size_t count) {
  SubtractiveGenerator g;
  SeedSubtractiveGenerator(g, seed);
  std::vector<int64_t> values;
  for (size_t i = 0; i < count; ++i) values.push_back(NextSubtractiveValue(g));
  return values;
}

}  // namespace

TEST(DataFileBytes, EveryReferenceValueMatches) {
  int lines = 0;
  for (const std::string& line : CaseFileLines(SourcePath("tests/data/compiler/data_file.values"))) {
    const std::vector<std::string> w = CaseWords(line);
    if (w.empty() || w[0][0] == '#') continue;
    SCOPED_TRACE(line.substr(0, 80));
    ++lines;
    const std::string& op = w[0];
    const std::string rest = CaseRest(line, 1), results = CaseRest(line, 2);
    if (op == "msvc_rand") {
      // The process generator from its default state, and a private one that
      // leaves the process's alone.
      std::vector<int64_t> process, own;
      ResetProcessRandom();
      MsvcRandom generator;
      for (int i = 0; i < 10; ++i) process.push_back(NextProcessRandom()), own.push_back(NextMsvcRandom(generator));
      EXPECT_EQ(Numbers(process), rest);
      EXPECT_EQ(Numbers(own), rest);
    } else if (op == "subtractive") {
      EXPECT_EQ(Numbers(Draw(std::stoi(w[1]), 8)), results);
    } else if (op == "subtractive_56th") {
      EXPECT_EQ(std::to_string(Draw(std::stoi(w[1]), 56)[55]), w[2]);
    } else if (op == "key") {
      uint8_t key[kScrambleKeyBytes];
      MakeScrambleKey(std::stoul(w[1]), key);
      EXPECT_EQ(HexText(std::vector<uint8_t>(key, key + kScrambleKeyBytes)), w[2]);
    } else if (op == "scramble") {
      // In place and copying alike, never past the end; twice restores.
      const std::vector<uint8_t> source = HexBytes(w[2]);
      std::vector<uint8_t> in_place = source, copied(source.size() + 1, 0xEE);
      ScrambleStream(std::stoul(w[1]), in_place.data(), in_place.size());
      ScrambleCopy(std::stoul(w[1]), source.data(), copied.data(), source.size());
      EXPECT_EQ(HexText(in_place), w[3] == "-" ? "" : w[3]);
      EXPECT_EQ(copied.back(), 0xEE);
      copied.pop_back();
      EXPECT_EQ(copied, in_place);
      ScrambleStream(std::stoul(w[1]), in_place.data(), in_place.size());
      EXPECT_EQ(in_place, source);
    } else if (op == "file") {
      const std::vector<uint8_t> stream = HexBytes(w[2]);
      const std::vector<uint8_t> file = BuildDataFile(stream.data(), stream.size(), std::stoul(w[1]));
      EXPECT_EQ(HexText(file), w[3]);
      std::vector<uint8_t> opened;
      std::string error;
      DataFileHeader header;
      ASSERT_TRUE(OpenDataFile(file, opened, error, &header)) << error;
      EXPECT_EQ(opened, stream);
      EXPECT_EQ(header.seed, std::stoul(w[1]) & 0xFFFFFF);
      EXPECT_EQ(header.digest, Md5(stream.data(), stream.size()));
      // Written from a stream held in blocks of any size, key periods split
      // anywhere: the same file, and the stream left plain.
      for (size_t block : {size_t{1}, size_t{7}, kScrambleKeyBytes, size_t{257}, kStreamBlockBytes}) {
        RecordStream held(block);
        WriteBytes(held, stream.size(), stream.data());
        const std::u16string path = MakeTempFolder() + u"blocks.z5t";
        std::vector<uint8_t> written;
        ASSERT_TRUE(WriteDataFile(path, held, std::stoul(w[1]), nullptr) && FsReadFile(path, written));
        EXPECT_EQ(HexText(written), w[3]) << "blocks of " << block;
        EXPECT_EQ(StreamBytes(held), stream);
      }
    } else if (op == "md5") {
      // Whole, and in pieces that split blocks everywhere.
      const std::vector<uint8_t> bytes = HexBytes(w[1]);
      EXPECT_EQ(Md5Hex(Md5(bytes.data(), bytes.size())), w[2]);
      for (size_t piece : {1u, 3u, 63u, 64u, 65u, 200u}) {
        Md5Context c;
        Md5Init(c);
        for (size_t at = 0; at < bytes.size(); at += piece) {
          Md5Update(c, bytes.data() + at, std::min(piece, bytes.size() - at));
          Md5Update(c, nullptr, 0);
        }
        EXPECT_EQ(Md5Hex(Md5Final(c)), w[2]) << "pieces of " << piece;
      }
    } else {
      ADD_FAILURE() << "unknown operation";
    }
  }
  EXPECT_EQ(lines, 35);
}

TEST(DataFileBytes, LongStreamsOpenAgain) {
  // Many key periods, with a seed of 24 bits; the smallest file holds the end record alone.
  std::vector<uint8_t> large(70000), opened;
  for (size_t i = 0; i < large.size(); ++i) large[i] = uint8_t(i * 31 >> 3);
  std::string error;
  ASSERT_TRUE(OpenDataFile(BuildDataFile(large.data(), large.size(), 0xFFFFFF), opened, error)) << error;
  EXPECT_EQ(opened, large);
  const uint8_t end[8] = {1};
  EXPECT_EQ(BuildDataFile(end, 8, 41).size(), kSmallestDataFileBytes);
}
