// railwick dump and verify as a user runs them: exit statuses and output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/data_file.h"
#include "platform/fs.h"
#include "tests/test_data_file_util.h"
#include "tests/test_util.h"

namespace {

class DataFileCli : public ::testing::Test {
 protected:
  std::u16string folder_ = MakeTempFolder();

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteTestFile(folder_ + U16(name), std::string(bytes.begin(), bytes.end()));
    return U8(folder_ + U16(name));
  }
  // A vehicle's header and the end record.
  static std::vector<uint8_t> SmallStream() {
    std::vector<uint8_t> stream, name;
    PutRecord(stream, 0xF000, {});
    for (char16_t u : std::u16string(u"キハ40")) PutLe16(name, u);
    name.resize(128, 0);
    PutRecord(stream, 0x1004, name);
    PutRecord(stream, 0xF001, {});
    const std::vector<uint8_t> end = EndRecord();
    stream.insert(stream.end(), end.begin(), end.end());
    return stream;
  }
};

bool OneLine(const std::string& text) {
  return !text.empty() && text.find('\n') == text.size() - 1;
}

TEST_F(DataFileCli, SoundFileVerifiesAndIsListed) {
  const std::vector<uint8_t> stream = SmallStream();
  ToolRun ok = RunTool({"verify", Write("good.z5t", BuildDataFile(stream.data(), stream.size(), 41))});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.out.find("good.z5t: ok (4 records, 180 bytes, seed 41, MD5 "), std::string::npos) << ok.out;
  EXPECT_TRUE(OneLine(ok.out)) << ok.out;

  ToolRun dump = RunTool({"dump", Write("dump.z5t", BuildDataFile(stream.data(), stream.size(), 18467))});
  EXPECT_EQ(dump.status, 0) << dump.err;
  for (const char* expected : {"seed 18467", "\n00000000  0xF000            0  BeginHeader\n",
                               "\n00000008  0x1004          128  名称  name=\"キハ40\"\n",
                               "\n00000090  0xF001            0  EndHeader\n",
                               "\n00000098  0x1               0  (end of stream)\n", "\n4 records\n"}) {
    EXPECT_NE(dump.out.find(expected), std::string::npos) << expected << "\n" << dump.out;
  }
  EXPECT_EQ(RunTool({"verify", U8(folder_) + "missing.z5t"}).status, 2);
}

// verify, dump, dump --json and diff judge a damaged file alike: each fails
// and gives the same reason; dump lists the records it could read.
TEST_F(DataFileCli, EveryCommandRejectsADamagedFileForTheSameReason) {
  const std::vector<uint8_t> stream = SmallStream();
  const std::vector<uint8_t> sound = BuildDataFile(stream.data(), stream.size(), 41);
  auto file = [](std::vector<uint8_t> s) { return BuildDataFile(s.data(), s.size(), 7); };
  auto with = [&](std::vector<uint8_t> head, std::vector<uint8_t> tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  };
  const std::vector<uint8_t> header(stream.begin(), stream.begin() + 8), end = EndRecord();
  std::vector<uint8_t> beyond = header, speed, misfits, flipped = sound;
  PutLe32(beyond, 0x1004);
  PutLe32(beyond, 0xFFFFFFFF);
  PutRecord(speed, 0x1016, {90, 0});  // a speed record is 4 bytes
  misfits = with(speed, {});
  PutRecord(misfits, 0x1002, {1, 2, 3});
  flipped[3] ^= 0x01;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* reason;
    const char* listed;  // a piece of dump's listing; "" when nothing can be listed
  } cases[] = {
      {"digest", flipped, "digest mismatch: ", ""},
      {"cut", std::vector<uint8_t>(sound.begin(), sound.begin() + 27), "truncated: 27 bytes", ""},
      {"trailing", file(with(stream, {0, 0, 0})), "end record at offset 0x98 is followed by 3 more bytes",
       "(end of stream)\n4 records\n"},
      {"beyond", file(beyond), "record 0x1004 at offset 0x8 has length 4294967295 but only 0 bytes follow",
       "BeginHeader\n1 records\n"},
      {"unended", file(header), "the stream does not end with the end record", "BeginHeader\n1 records\n"},
      {"endlength", file({1, 0, 0, 0, 2, 0, 0, 0, 0, 0}), "end record at offset 0x0 has length 2 instead of 0",
       "1 records\n"},
      {"speed", file(with(speed, end)),
       "record 0x1016 at offset 0x0 does not fit its layout: length 2 ends inside field 'speed'",
       "速度  !! length 2 ends inside field 'speed'\n"},
      {"misfits", file(with(misfits, end)), "2 records do not fit their layout; the first: record 0x1016",
       "ID  id=513  !! length 3 but the fields take 2\n"},
  };
  const std::string good = Write("sound.z5t", sound);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(std::string(c.name) + ".z5t", c.bytes);
    const std::string reason = path + ": " + c.reason;
    ToolRun verify = RunTool({"verify", path});
    EXPECT_EQ(verify.status, 1);
    EXPECT_EQ(verify.out, "");
    EXPECT_NE(verify.err.find(reason), std::string::npos) << verify.err;
    ToolRun dump = RunTool({"dump", path});
    EXPECT_EQ(dump.status, 1);
    EXPECT_NE(dump.err.find(reason), std::string::npos) << dump.err;
    EXPECT_TRUE(*c.listed ? dump.out.find(c.listed) != std::string::npos : dump.out.empty()) << dump.out;
    ToolRun json = RunTool({"dump", "--json", path});
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.err.find(reason), std::string::npos) << json.err;
    ToolRun diff = RunTool({"diff", good, path});
    EXPECT_EQ(diff.status, 2);
    EXPECT_EQ(diff.out, "");
    EXPECT_NE(diff.err.find("B: " + reason), std::string::npos) << diff.err;
    diff = RunTool({"diff", path, good});
    EXPECT_EQ(diff.status, 2);
    EXPECT_NE(diff.err.find("A: " + reason), std::string::npos) << diff.err;
  }
}

// The tool's own compile writes a file that verify and dump accept.
TEST_F(DataFileCli, CompiledScriptVerifies) {
  const std::string script = "BeginHeader\nSECTION\nID 7\nEndHeader\n";
  const std::string script_path = Write("tiny.txt", std::vector<uint8_t>(script.begin(), script.end()));
  const std::string output = U8(folder_) + "tiny.z5t";
  ToolRun compile = RunTool({"compile", script_path, "-o", output});
  ASSERT_EQ(compile.status, 0) << compile.out;
  ToolRun verify = RunTool({"verify", output});
  EXPECT_EQ(verify.status, 0) << verify.err;
  ToolRun dump = RunTool({"dump", output});
  EXPECT_EQ(dump.status, 0) << dump.err;
  EXPECT_NE(dump.out.find("SECTION  magic=0x4851  version=400\n"), std::string::npos) << dump.out;
  EXPECT_NE(dump.out.find("ID  id=7\n"), std::string::npos) << dump.out;
  EXPECT_NE(dump.out.find("(texture block end)\n"), std::string::npos) << dump.out;
}

}  // namespace
