// railwick dump and verify as a user runs them: exit statuses and output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/data_file.h"
#include "platform/console.h"
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

TEST_F(DataFileCli, VerifyAcceptsAnIntactFileAndRejectsDamage) {
  const std::vector<uint8_t> stream = SmallStream();
  const std::vector<uint8_t> file = BuildDataFile(stream.data(), stream.size(), 41);
  ToolRun ok = RunTool({"verify", Write("good.z5t", file)});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.out.find("good.z5t: ok (4 records, 180 bytes, seed 41, MD5 "), std::string::npos) << ok.out;
  EXPECT_TRUE(OneLine(ok.out)) << ok.out;

  std::vector<uint8_t> flipped = file;
  flipped[100] ^= 0x40;
  ToolRun damaged = RunTool({"verify", Write("flipped.z5t", flipped)});
  EXPECT_EQ(damaged.status, 1);
  EXPECT_NE(damaged.err.find("flipped.z5t: digest mismatch: "), std::string::npos) << damaged.err;
  EXPECT_TRUE(OneLine(damaged.err)) << damaged.err;
  EXPECT_EQ(damaged.out, "");

  ToolRun cut = RunTool({"verify", Write("cut.z5t", std::vector<uint8_t>(file.begin(), file.begin() + 27))});
  EXPECT_EQ(cut.status, 1);
  EXPECT_NE(cut.err.find("truncated: 27 bytes"), std::string::npos) << cut.err;

  // A correct digest over a stream without its end record: framing fails.
  const std::vector<uint8_t> open(stream.begin(), stream.end() - 8);
  ToolRun unended = RunTool({"verify", Write("unended.z5t", BuildDataFile(open.data(), open.size(), 7))});
  EXPECT_EQ(unended.status, 1);
  EXPECT_NE(unended.err.find("does not end with the end record"), std::string::npos) << unended.err;

  EXPECT_EQ(RunTool({"verify", U8(folder_) + "missing.z5t"}).status, 2);
  EXPECT_EQ(RunTool({"verify"}).status, 2);
  EXPECT_EQ(RunTool({"verify", "a", "b"}).status, 2);
}

TEST_F(DataFileCli, DumpListsEveryRecordAndFailsOnBrokenStreams) {
  const std::vector<uint8_t> stream = SmallStream();
  ToolRun dump = RunTool({"dump", Write("dump.z5t", BuildDataFile(stream.data(), stream.size(), 18467))});
  EXPECT_EQ(dump.status, 0) << dump.err;
  for (const char* expected : {"seed 18467", "\n00000000  0xF000            0  BeginHeader\n",
                               "\n00000008  0x1004          128  名称  name=\"キハ40\"\n",
                               "\n00000090  0xF001            0  EndHeader\n",
                               "\n00000098  0x1               0  (end of stream)\n", "\n4 records\n"}) {
    EXPECT_NE(dump.out.find(expected), std::string::npos) << expected << "\n" << dump.out;
  }

  // A record whose length runs past the end: the records before it are
  // listed, then the reason.
  std::vector<uint8_t> broken(stream.begin(), stream.begin() + 8);
  PutLe32(broken, 0x1004);
  PutLe32(broken, 0xFFFFFFFF);
  ToolRun cut = RunTool({"dump", Write("broken.z5t", BuildDataFile(broken.data(), broken.size(), 1))});
  EXPECT_EQ(cut.status, 1);
  EXPECT_NE(cut.out.find("BeginHeader\n1 records\n"), std::string::npos) << cut.out;
  EXPECT_NE(cut.err.find("record 0x1004 at offset 0x8 has length 4294967295 but only 0 bytes follow"),
            std::string::npos)
      << cut.err;

  // A record that does not fit its layout is marked and fails the dump.
  std::vector<uint8_t> misfit;
  PutRecord(misfit, 0x1002, {1, 2, 3});
  const std::vector<uint8_t> end = EndRecord();
  misfit.insert(misfit.end(), end.begin(), end.end());
  ToolRun bad = RunTool({"dump", Write("misfit.z5t", BuildDataFile(misfit.data(), misfit.size(), 1))});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("!! length 3 but the fields take 2"), std::string::npos) << bad.out;
  EXPECT_NE(bad.err.find("1 record(s) do not fit their layout"), std::string::npos) << bad.err;

  EXPECT_EQ(RunTool({"dump"}).status, 2);
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
