// Lines, tokens, quotes, comments and the failures of the script language.
#include <gtest/gtest.h>

#include "compiler/commands.h"
#include "tests/test_util.h"

namespace {

class Tokenizer : public ::testing::Test {
 protected:
  std::u16string folder = MakeTempFolder();
  std::unique_ptr<CompileRun> Run(const std::string& utf8) { return CompileScript(utf8, folder); }
  std::unique_ptr<CompileRun> RunBytes(const std::string& sjis) { return CompileBytes(sjis, folder); }
};

// Index of the first record with `tag`, or -1.
int Find(const std::vector<TestRecord>& records, uint32_t tag) {
  for (size_t i = 0; i < records.size(); ++i)
    if (records[i].tag == tag) return static_cast<int>(i);
  return -1;
}

std::string NameField(const TestRecord& r) {
  std::u16string name;
  for (size_t i = 0; i + 1 < r.data.size(); i += 2) {
    char16_t c = static_cast<char16_t>(r.data[i] | r.data[i + 1] << 8);
    if (!c) break;
    name.push_back(c);
  }
  return U8(name);
}

TEST_F(Tokenizer, QuotedAndBareTokens) {
  auto run = Run("名称 \"a b,c/d\"\n短縮名 a b,c\n");
  auto records = SplitRecords(run->Stream());
  ASSERT_GE(Find(records, 0x1004), 0);
  EXPECT_EQ(NameField(records[Find(records, 0x1004)]), "a b,c/d");
  EXPECT_EQ(NameField(records[Find(records, 0x1005)]), "a");  // the rest are surplus arguments
  // After a closing quote the next token starts at once: "x"y is two tokens.
  run = Run("COPYRIGHT \"x\"y\n");
  records = SplitRecords(run->Stream());
  ASSERT_GE(Find(records, 0x1006), 0);
  const TestRecord& copyright = records[Find(records, 0x1006)];
  EXPECT_EQ(copyright.data[0], 'x');
  EXPECT_EQ(copyright.data[128], 'y');
}

TEST_F(Tokenizer, CommentsLabelsAndBlankLinesDoNothing) {
  auto run = Run("   // only a comment\n:label 1 2\n\n\t \r\n//Z5 Bogwright\nBeginHeader\n");
  auto records = SplitRecords(run->Stream());
  EXPECT_EQ(records.front().tag, 0xF000u);
  // Start line plus the texture block's two errors and the file line: no line of ours.
  EXPECT_EQ(run->LogText().find("未定義"), std::string::npos) << run->LogText();
  // An argument that starts with '/' begins a comment: the command runs without it.
  run = Run("名称 /comment\n");
  records = SplitRecords(run->Stream());
  ASSERT_GE(Find(records, 0x1004), 0);
  EXPECT_EQ(records[Find(records, 0x1004)].data[0], 0);
  // Inside a token a slash is an ordinary character.
  run = Run("名称 models/body.obj\n");
  records = SplitRecords(run->Stream());
  EXPECT_EQ(NameField(records[Find(records, 0x1004)]), "models/body.obj");
}

TEST_F(Tokenizer, SeparatorsIncludeCommaTabCrAndRecordSeparator) {
  auto run = RunBytes(Sjis("TEC 2\r\n連結器") + "\x1E" + "1,,2\t\r\n");
  auto records = SplitRecords(run->Stream());
  int i = Find(records, 0x1015);
  ASSERT_GE(i, 0);
  EXPECT_FLOAT_EQ(F32At(records[i].data, 0), 2.0f);
  EXPECT_FLOAT_EQ(F32At(records[i].data, 4), 4.0f);
}

TEST_F(Tokenizer, UnknownAndReservedCommandsFailButEveryLineRuns) {
  auto run = Run("BeginHeader\nNoSuchCommand 1\n未定義 x\nEndHeader\n");
  EXPECT_EQ(run->result, 0x80004005u);
  const std::string log = run->LogText();
  EXPECT_NE(log.find("エラー：未定義命令\r\n"), std::string::npos);
  EXPECT_NE(log.find("エラー：未実装命令を使用した。[未定義]\r\n"), std::string::npos);
  auto records = SplitRecords(run->Stream());
  EXPECT_GE(Find(records, 0xF001), 0);  // the line after the errors still ran
  EXPECT_LT(Find(records, 0xF008), 0);  // no texture block: the parse failed
  EXPECT_TRUE(run->compiler->written_file.empty());
}

TEST_F(Tokenizer, UnclosedQuoteStopsTheParse) {
  auto run = Run("BeginHeader\n名称 \"abc\nEndHeader\n");
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_NE(run->LogText().find("ダブルクォートが閉じていない\r\n"), std::string::npos);
  auto records = SplitRecords(run->Stream());
  EXPECT_LT(Find(records, 0xF001), 0);  // nothing after the broken line ran
  // A missing quote on the very last line, with no line end, fails too.
  run = Run("BeginHeader\n名称 \"abc");
  EXPECT_EQ(run->result, 0x80004005u);
  // A tab inside quotes is a control byte: the quote is not closed.
  run = Run("名称 \"a\tb\"\n");
  EXPECT_EQ(run->result, 0x80004005u);
}

TEST_F(Tokenizer, ShiftJisLeadAndTrailBytes) {
  // Half-width katakana are single bytes: a quote right after one closes.
  auto run = Run("名称 \"ｸﾊ\"\n");
  auto records = SplitRecords(run->Stream());
  ASSERT_GE(Find(records, 0x1004), 0) << run->LogText();
  EXPECT_EQ(NameField(records[Find(records, 0x1004)]), "ｸﾊ");
  // A two-byte character whose trail byte is 0x5C ('\') or 0x7C stays whole.
  run = Run("名称 \"表示\"\n短縮名 ソ\n");
  records = SplitRecords(run->Stream());
  EXPECT_EQ(NameField(records[Find(records, 0x1004)]), "表示");
  EXPECT_EQ(NameField(records[Find(records, 0x1005)]), "ソ");
  // A lead byte before a line feed does not swallow it: the next line runs.
  run = RunBytes(Sjis("名称 a") + "\x82\n" + "BeginHeader\n");
  records = SplitRecords(run->Stream());
  EXPECT_GE(Find(records, 0xF000), 0);
  // A lead byte as the text's very last byte stands alone.
  run = RunBytes(Sjis("名称 a") + "\x82");
  records = SplitRecords(run->Stream());
  EXPECT_GE(Find(records, 0x1004), 0);
  // A byte no code table maps is replaced and reported, never fatal.
  run = RunBytes(Sjis("名称 a") + "\xFD" + "b\n");
  records = SplitRecords(run->Stream());
  EXPECT_EQ(NameField(records[Find(records, 0x1004)]), "a\xEF\xBF\xBD" "b");
  EXPECT_NE(run->LogText().find("(1行目)"), std::string::npos) << run->LogText();
}

TEST_F(Tokenizer, TextEndsAtFirstNulAndSurplusTokensAreIgnored) {
  auto run = RunBytes(std::string("BeginHeader\n", 12) + std::string("\0EndHeader\n", 11));
  auto records = SplitRecords(run->Stream());
  EXPECT_GE(Find(records, 0xF000), 0);
  EXPECT_LT(Find(records, 0xF001), 0);
  // The cut is told, at its line, without failing the compilation.
  EXPECT_EQ(run->result, 0u);
  EXPECT_NE(run->LogText().find("NULバイトがあるため、以降を読みません (2行目)\r\n"), std::string::npos)
      << run->LogText();
  std::string many = "BeginHeader";
  for (int i = 0; i < 100; ++i) many += " x" + std::to_string(i);
  run = Run(many + "\nEndHeader\n");
  records = SplitRecords(run->Stream());
  EXPECT_GE(Find(records, 0xF001), 0);
  // An unclosed quote past the 32nd token is still found.
  run = Run(many + " \"open\n");
  EXPECT_EQ(run->result, 0x80004005u);
}

TEST_F(Tokenizer, GeneratedTextureLineHasSixArguments) {
  auto run = Run("テクスチャーINFO\t24\t0,0,0\t512\t256\n");
  auto records = SplitRecords(run->Stream());
  int i = Find(records, 0x1400);
  ASSERT_GE(i, 0);
  EXPECT_EQ(U32At(records[i].data, 0), 24u);
  EXPECT_EQ(U32At(records[i].data, 10), 512u);
  EXPECT_EQ(U32At(records[i].data, 14), 256u);
}

TEST_F(Tokenizer, CommandTableHasEveryRowInOrder) {
  size_t count = 0;
  const CommandRow* rows = CommandTable(&count);
  ASSERT_EQ(count, 99u);
  EXPECT_EQ(U8(rows[0].keyword), "未定義");
  EXPECT_EQ(U8(rows[98].keyword), "ContainerOBJAdd");
  EXPECT_EQ(rows[98].code, 0x801103u);
  // Case-sensitive: "beginheader" is not a command.
  auto run = Run("beginheader\n");
  EXPECT_NE(run->LogText().find("エラー：未定義命令"), std::string::npos);
}

}  // namespace
