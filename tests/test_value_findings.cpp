// Values no vehicle can have, found in a project: one case per rule and
// place, each with the one finding it must give.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/sjis.h"
#include "project/project_file.h"
#include "project/value_findings.h"
#include "tests/test_project_full.h"

namespace {

TEST(ValueFindings, EachImpossibleValueIsNamedOnce) {
  struct Case {
    void (*edit)(VehicleProject&);
    const char16_t* key;
    const char16_t* message;  // empty: no finding
  };
  const Case cases[] = {
      {[](VehicleProject&) {}, u"", u""},
      {[](VehicleProject& p) { p.tire[0].TireRadius = 0; }, u"tire1 TireRadius",
       u"車輪1 半径：モデルのある車輪の半径は0より大きい値を入力してください。"},
      {[](VehicleProject& p) { p.tire[1].TireRadius = -430; }, u"tire2 TireRadius",
       u"車輪2 半径：モデルのある車輪の半径は0より大きい値を入力してください。"},
      {[](VehicleProject& p) { p.tire[1] = TireEntry(); }, u"", u""},  // no model, no radius needed
      {[](VehicleProject& p) { p.truck[1].pos = 1e30f; }, u"truck2 pos",
       u"台車2 位置：-100000から100000までの数値を入力してください。"},
      {[](VehicleProject& p) { p.truck[0].tirein[3].tirePOSY = NAN; }, u"truck1 tirein4 tirePOSY",
       u"台車1 車軸4 y：-100000から100000までの数値を入力してください。"},
      {[](VehicleProject& p) { p.untendai[1].posz = -INFINITY; }, u"untendai2 posz",
       u"プラス方向の運転台 z：-100000から100000までの数値を入力してください。"},
      {[](VehicleProject& p) { p.link0 = -100000; }, u"", u""},
      {[](VehicleProject& p) { p.link1 = 100000.01f; }, u"link1",
       u"+x側位置：-100000から100000までの数値を入力してください。"},
      {[](VehicleProject& p) { p.zoom = 1e6f; }, u"zoom", u"OBJ拡大率：-100000から100000までの数値を入力してください。"},
      {[](VehicleProject& p) { p.container[0].posx = NAN; }, u"container1 posx",
       u"コンテナ位置1 x：-100000から100000までの数値を入力してください。"},
      {[](VehicleProject& p) { p.guide.Set(u"caf\u00E9"); }, u"guide",
       u"説明：スクリプトに書けない文字が含まれています。(U+00E9)"},
      {[](VehicleProject& p) { p.name.Set(u"新幹線\U0001F685"); }, u"name",
       u"形式番号：スクリプトに書けない文字が含まれています。(U+1F685)"},
      {[](VehicleProject& p) { p.optionset[2].modelLT1.Set(u"a\tb.obj"); }, u"optionset3 modelLT1",
       u"オプション3 テールライト（+x側）：スクリプトに書けない文字が含まれています。(U+0009)"},
      {[](VehicleProject& p) { p.modelHM[2].Set(u"\"x\".obj"); }, u"modelHM3",
       u"ヘッドマーク3：スクリプトに書けない文字が含まれています。(U+0022)"},
      {[](VehicleProject& p) { p.gap2.Set(u"snd\\\u00E9.wav"); }, u"gap2",
       u"ギャップ2：スクリプトに書けない文字が含まれています。(U+00E9)"},
  };
  for (const Case& c : cases) {
    auto p = testing_project::FullProject();
    c.edit(*p);
    const std::vector<ValueFinding> found = FindImpossibleValues(*p);
    if (c.key[0] == 0) {
      EXPECT_TRUE(found.empty()) << Utf16ToUtf8(found.empty() ? u"" : found[0].message);
      continue;
    }
    ASSERT_EQ(found.size(), 1u) << Utf16ToUtf8(c.key);
    EXPECT_EQ(found[0].key, c.key);
    EXPECT_EQ(found[0].message, c.message);
  }
}

// Texts the reader had to cut come first, named as the dialogs name them.
TEST(ValueFindings, TextsTheReaderCutAreReported) {
  const std::string long_path(300, 'p');
  const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<zektrainsrc>"
                           "<infohead><name>" + std::string(140, 'N') + "</name><sname>" + std::string(31, 's') +
                           "</sname></infohead><tire><modelTire>" + long_path + "</modelTire>"
                           "<TireRadius>430</TireRadius></tire><submodel><modelHM></modelHM><modelHM>" +
                           long_path + "</modelHM></submodel></zektrainsrc>";
  auto p = std::make_unique<VehicleProject>();
  ProjectReadReport report;
  ASSERT_TRUE(ReadProjectText(*p, Utf8ToUtf16(text), &report));
  EXPECT_EQ(p->name.size(), 63u);  // still stored cut, as before
  const std::vector<ValueFinding> found = FindImpossibleValues(*p, &report);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].key, u"name");
  EXPECT_EQ(found[0].problem, ValueProblem::kTooLong);
  EXPECT_EQ(found[0].message, u"形式番号：文字数が多すぎます。\n63文字以内で入力してください。");
  EXPECT_EQ(found[1].message, u"車輪1 モデル：文字数が多すぎます。\n259文字以内で入力してください。");
  EXPECT_EQ(found[2].key, u"modelHM2");
}

}  // namespace
