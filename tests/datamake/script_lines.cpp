// The vehicle script a project generates: every line from the hand-written
// scripts, and the texts and values that stop it.
#include <gtest/gtest.h>

#include <memory>

#include "datamake/vehicle_script.h"
#include "platform/sjis.h"
#include "tests/test_project_full.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

// The script of a project as text, or the one message that stopped it.
std::u16string ScriptOf(const VehicleProject& p, std::u16string* message = nullptr) {
  RecordingNotifier n;
  std::string script;
  const bool result = BuildVehicleScript(p, MainTextureSize{256, 256}, script, n);
  if (message) *message = n.Only();
  if (!result) return u"(failed)";
  return SjisToUtf16(script);
}

// The smallest project that passes validation.
std::unique_ptr<VehicleProject> MinimalProject() {
  auto p = std::make_unique<VehicleProject>();
  p->maker.Set(u"M");
  p->name.Set(u"N1");
  p->outpath.Set(u"out");
  p->series.Set(u"S");
  p->maintex.Set(u"m.png");
  p->sideview.Set(u"s.png");
  return p;
}

TEST(VehicleScript, EveryFieldMatchesTheHandWrittenScript) {
  // tests/data/project/full_script.txt was written by hand from the line
  // table and converted to Shift-JIS with iconv.
  const std::string expected = ReadTestFile(SourcePath("tests/data/project/full_script.txt"));
  ASSERT_FALSE(expected.empty());
  RecordingNotifier n;
  std::string script;
  ASSERT_TRUE(BuildVehicleScript(*FullProject(), MainTextureSize{512, 256}, script, n));
  EXPECT_TRUE(n.calls.empty());
  EXPECT_EQ(script, expected);
}

TEST(VehicleScript, MinimalProjectWritesOnlyTheFixedLines) {
  auto p = MinimalProject();
  p->fixhuriko = 1;  // no tilt line while the angle is 0
  EXPECT_EQ(ScriptOf(*p), U16(ReadTestFile(SourcePath("tests/data/datamake/minimal_script.txt"))));
}

TEST(VehicleScript, SlotIndexesAndCountedPantographs) {
  auto p = MinimalProject();
  p->truck[1].type = 1;
  p->truck[1].pos = 2;
  p->truck[1].model.Set(u"t.obj");
  p->truck[1].tirein[2].tireID = 2;
  p->pantograph[3].modelUP.Set(u"u.obj");
  p->pantograph[3].modelDOWN.Set(u"d.obj");
  p->untendai[1] = CabEntry{1, 1, 2, 3};
  const std::u16string s = ScriptOf(*p);
  EXPECT_NE(s.find(u"台車\t1\t2.000000\t回転\r\n"), std::u16string::npos);
  EXPECT_NE(s.find(u"3D台車枠\t1\t\"t.obj\"\r\n"), std::u16string::npos);
  EXPECT_NE(s.find(u"台車構造枠\t1\t1\r\n台車構造車輪\t1\t1\t0.000000\t0.000000\r\n"), std::u16string::npos);
  EXPECT_NE(s.find(u"3Dパンタ\t\"u.obj\"\t\"d.obj\"\r\nPANTAINIT\t0\t1\r\n"), std::u16string::npos);
  EXPECT_NE(s.find(u"速度\t120\r\n運転台\t1.000000\t2.000000\t3.000000\t\t1.0\r\nEndSetting"),
            std::u16string::npos);
}

// The scale correction, and a category or bogie type outside the tables.
TEST(VehicleScript, ScaleCorrectionAndValuesOutsideTheTables) {
  auto p = MinimalProject();
  p->teczoom = 2;
  EXPECT_NE(ScriptOf(*p).find(u"拡大補正 1.000000\r\n\r\nTEC\t0.9375\r\n\r\nUpperV"), std::u16string::npos);
  p->teczoom = 3;
  EXPECT_EQ(ScriptOf(*p).find(u"TEC"), std::u16string::npos);
  p->category = 3;
  std::u16string message;
  EXPECT_EQ(ScriptOf(*p, &message), u"(failed)");
  EXPECT_EQ(message, u"カテゴリーが対応していません。");

  p->category = 32;
  p->truck[2].type = 4;
  EXPECT_EQ(ScriptOf(*p, &message), u"(failed)");
  EXPECT_EQ(message, u"台車の種類が対応していません。");
}

TEST(VehicleScript, TextsThatWouldBreakTheScriptAreRefused) {
  struct Case {
    void (*set)(VehicleProject&, const std::u16string&);
    std::u16string label;
  };
#define FIELD(field, label) {[](VehicleProject& p, const std::u16string& t) { p.field.Set(t); }, label}
  const Case cases[] = {
      FIELD(name, u"形式番号"),         FIELD(outpath, u"出力パス"),
      FIELD(series, u"形式名"),         FIELD(sname, u"形式番号（短縮）"),
      FIELD(guide, u"説明"),            FIELD(maker, u"工房名"),
      FIELD(maintex, u"メインテクスチャー"), FIELD(sideview, u"サイドビュー"),
      FIELD(gap2, u"ギャップ2"),        FIELD(optionset[2].modelLT1, u"オプション3 modelLT1"),
      FIELD(modelHM[1], u"ヘッドマーク2"), FIELD(tire[1].modelTire, u"車輪2 modelTire"),
  };
#undef FIELD
  const std::pair<std::u16string, std::u16string> bad[] = {
      {u"a\"b", u"U+0022"}, {u"a\tb", u"U+0009"},    {u"a\rb", u"U+000D"},
      {u"a\nb", u"U+000A"}, {u"a\x01" u"b", u"U+0001"}, {u"a¥b", u"U+00A5"},
      {u"a\u2603b", u"U+2603"},
      {u"a\U0001F683b", u"U+1F683"},  // one character, not its first half
  };
  for (const Case& c : cases) {
    for (const auto& [text, code] : bad) {
      auto p = MinimalProject();
      c.set(*p, text);
      std::u16string message;
      EXPECT_EQ(ScriptOf(*p, &message), u"(failed)") << U8(c.label) << " " << U8(code);
      EXPECT_EQ(message, c.label + u"：スクリプトに書けない文字が含まれています。(" + code + u")");
    }
  }
  // Characters Shift-JIS has, half-width katakana included, pass.
  auto p = MinimalProject();
  p->guide.Set(u"ｱｲｳ ①Ⅹ～－ソ表");
  EXPECT_NE(ScriptOf(*p).find(u"\"ｱｲｳ ①Ⅹ～－ソ表\""), std::u16string::npos);
}

}  // namespace
