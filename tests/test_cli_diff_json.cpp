// railwick diff and dump --json on compiled vehicles.
#include <gtest/gtest.h>
#include <cstring>

#include "platform/fs.h"
#include "tests/test_util.h"

namespace {

// Just enough of a JSON reader to tell a well-formed document.
struct JsonCheck {
  const std::string& s;
  size_t i = 0;
  void Blank() {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\n' || s[i] == '\t' || s[i] == '\r')) ++i;
  }
  bool Literal(const char* word) {
    size_t n = std::char_traits<char>::length(word);
    if (s.compare(i, n, word) != 0) return false;
    i += n;
    return true;
  }
  bool String() {
    if (s[i] != '"') return false;
    for (++i; i < s.size(); ++i) {
      if (s[i] == '\\') ++i;
      else if (s[i] == '"') return ++i, true;
      else if (static_cast<unsigned char>(s[i]) < 0x20) return false;
    }
    return false;
  }
  bool Number() {
    size_t start = i;
    while (i < s.size() && std::strchr("+-0123456789.eE", s[i])) ++i;
    return i > start;
  }
  bool Value() {
    Blank();
    if (i >= s.size()) return false;
    bool ok;
    if (s[i] == '{' || s[i] == '[') {
      char close = s[i] == '{' ? '}' : ']';
      bool object = s[i++] == '{';
      Blank();
      if (s[i] == close) return ++i, true;
      do {
        Blank();
        if (object && !(String() && (Blank(), s[i++] == ':'))) return false;
        if (!Value()) return false;
        Blank();
      } while (s[i] == ',' && ++i);
      ok = s[i++] == close;
    } else if (s[i] == '"') {
      ok = String();
    } else {
      ok = Literal("true") || Literal("false") || Literal("null") || Number();
    }
    return ok;
  }
  bool Document() { return Value() && (Blank(), i == s.size()); }
};

size_t Count(const std::string& text, const std::string& piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

class DiffAndJson : public ::testing::Test {
 protected:
  void SetUp() override {
    // The golden vehicle, copied so its sounds can be changed.
    for (const char* name : {"whole_vehicle.txt", "side.png", "main.png", "sign.png"})
      WriteTestFile(folder + U16(name), ReadTestFile(SourcePath("tests/data/golden/") + U16(name)));
    FsCreateDirectory(folder + u"sound");
    for (int tag : {0x1201, 0x1202, 0x1203, 0x1204, 0x1205, 0x1206, 0x1207, 0x1208, 0x1209, 0x120A, 0x120B,
                    0x1210, 0x1211}) {
      char name[32];
      std::snprintf(name, sizeof name, "sound/s%04X.wav", tag);
      WriteTestFile(folder + U16(name), ReadTestFile(SourcePath("tests/data/golden/") + U16(name)));
    }
  }
  std::string Build(const std::string& out) {
    std::string path = U8(folder + U16(out));
    EXPECT_EQ(RunTool({"compile", U8(folder + u"whole_vehicle.txt"), "-o", path}).status, 0);
    return path;
  }
  std::u16string folder = MakeTempFolder();
};

TEST_F(DiffAndJson, DiffShowsExactlyTheChangedSound) {
  const std::string a = Build("a.z5t");
  ToolRun same = RunTool({"diff", a, a});
  EXPECT_EQ(same.status, 0);
  EXPECT_NE(same.out.find("equal"), std::string::npos);

  WriteTestFile(folder + u"sound/s1202.wav", "RIFF\x10\0\0\0WAVEnew horn sound");
  const std::string b = Build("b.z5t");
  ToolRun diff = RunTool({"diff", a, b});
  EXPECT_EQ(diff.status, 1);
  EXPECT_EQ(Count(diff.out, "\n~ "), 0u);  // the first line starts the output
  EXPECT_EQ(diff.out.rfind("~ ", 0), 0u) << diff.out;
  EXPECT_NE(diff.out.find("音源警笛"), std::string::npos);
  EXPECT_NE(diff.out.find("1 changed, 0 removed, 0 added"), std::string::npos) << diff.out;

  // A record more and a record less.
  WriteTestFile(folder + u"whole_vehicle.txt",
                ReadTestFile(folder + u"whole_vehicle.txt") + Sjis("BeginModel\r\n"));
  const std::string c = Build("c.z5t");
  diff = RunTool({"diff", b, c});
  EXPECT_NE(diff.out.find("+ "), std::string::npos);
  EXPECT_NE(diff.out.find("BeginModel"), std::string::npos);
  EXPECT_NE(diff.out.find("0 changed, 0 removed, 1 added"), std::string::npos) << diff.out;
  diff = RunTool({"diff", c, b});
  EXPECT_NE(diff.out.find("0 changed, 1 removed, 0 added"), std::string::npos) << diff.out;

  EXPECT_EQ(RunTool({"diff", a, U8(folder + u"none.z5t")}).status, 2);
}

TEST_F(DiffAndJson, JsonHoldsEveryRecordOfTheListing) {
  const std::string a = Build("a.z5t");
  ToolRun text = RunTool({"dump", a});
  ToolRun json = RunTool({"dump", "--json", a});
  ASSERT_EQ(json.status, 0) << json.err;
  JsonCheck check{json.out};
  EXPECT_TRUE(check.Document()) << "bad JSON near byte " << check.i;
  // Every listing line is a record; the listing ends with "N records".
  size_t records = Count(text.out, "\n0000");
  EXPECT_EQ(Count(json.out, "{\"offset\":"), records);
  EXPECT_NE(json.out.find("\"name\":\"名称\""), std::string::npos);
  EXPECT_NE(json.out.find("\"value\":\"クハ 481,改\""), std::string::npos);
}

}  // namespace
