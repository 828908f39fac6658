// Checks and failures of the header, setting, sound and texture commands.
#include <gtest/gtest.h>

#include "tests/test_util.h"

namespace {

class WholeVehicle : public ::testing::Test {
 protected:
  std::u16string folder = MakeTempFolder();
  std::unique_ptr<CompileRun> Run(const std::string& utf8) { return CompileScript(utf8, folder); }
  static const TestRecord* Find(const std::vector<TestRecord>& records, uint32_t tag) {
    for (const TestRecord& r : records)
      if (r.tag == tag) return &r;
    return nullptr;
  }
};

TEST_F(WholeVehicle, CheckedNumbersStoreMinusOneWhenMissing) {
  auto run = Run("ID\n速度\n振り子 2.5\n形式\n");
  EXPECT_EQ(run->result, 0x80004005u);
  auto records = SplitRecords(run->Stream());
  ASSERT_NE(Find(records, 0x1002), nullptr);
  EXPECT_EQ(Find(records, 0x1002)->data, (std::vector<uint8_t>{0xFF, 0xFF}));
  EXPECT_EQ(U32At(Find(records, 0x1016)->data, 0), 0xFFFFFFFFu);
  EXPECT_EQ(U32At(Find(records, 0x1022)->data, 4), 0xFFFFFFFFu);
  EXPECT_EQ(Find(records, 0x1007)->data.size(), 258u);
  size_t count = 0, pos = 0;
  const std::string log = run->LogText();
  while ((pos = log.find("エラー：TOKEN NULL\r\n", pos)) != std::string::npos) ++count, ++pos;
  EXPECT_EQ(count, 4u);
}

TEST_F(WholeVehicle, UnknownWordsAreReported) {
  auto run = Run("TYPE 宇宙船\n");
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_NE(run->LogText().find(" タイプが不適切\r\n"), std::string::npos);
  // The record is left without its four data bytes.
  std::vector<uint8_t> head(run->Stream().begin(), run->Stream().begin() + 8);
  EXPECT_EQ(head, (std::vector<uint8_t>{0x03, 0x10, 0, 0, 4, 0, 0, 0}));
  run = Run("車両拡張 LEDTAIL\nEndSetting\n");
  EXPECT_NE(run->LogText().find(" 車両拡張タイプが不適切\r\n"), std::string::npos);
  EXPECT_EQ(Find(SplitRecords(run->Stream()), 0x1025), nullptr);
}

TEST_F(WholeVehicle, BogieIndexAndKind) {
  auto run = Run("台車 8 1 回転\n台車 -1 1 回転\n");
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_EQ(Find(SplitRecords(run->Stream()), 0x1013), nullptr);
  EXPECT_NE(run->LogText().find("台車IDが異常\r\n"), std::string::npos);
  EXPECT_EQ(run->compiler->preview.bogie_count, 0u);
  // An unknown kind writes nothing but the bogie is already counted.
  run = Run("TEC 2\n台車 5 1.5 斜め\n");
  EXPECT_EQ(Find(SplitRecords(run->Stream()), 0x1013), nullptr);
  EXPECT_EQ(run->compiler->preview.bogie_count, 6u);
  EXPECT_FLOAT_EQ(run->compiler->preview.bogies[5].position, 3.0f);
}

TEST_F(WholeVehicle, ScaleAppliesOnlyToLaterLines) {
  auto run = Run("連結器 1 2\nTEC 0.5\n連結器 1 2\n");
  auto records = SplitRecords(run->Stream());
  ASSERT_GE(records.size(), 2u);
  EXPECT_FLOAT_EQ(F32At(records[0].data, 4), 2.0f);
  EXPECT_FLOAT_EQ(F32At(records[1].data, 4), 1.0f);
}

TEST_F(WholeVehicle, SoundFilesMustExistAndHoldBytes) {
  WriteTestFile(folder + u"empty.wav", "");
  auto run = Run("音源警笛 empty.wav\n音源ブレーキ none.wav\n音源アイドル\n");
  EXPECT_EQ(run->result, 0x80004005u);
  const std::string log = run->LogText();
  EXPECT_NE(log.find("waveファイルがありません。[empty.wav]\r\n"), std::string::npos);
  EXPECT_NE(log.find("waveファイルがありません。[none.wav]\r\n"), std::string::npos);
  EXPECT_NE(log.find("waveファイルがありません。[]\r\n"), std::string::npos);
  EXPECT_EQ(Find(SplitRecords(run->Stream()), 0x1202), nullptr);
}

TEST_F(WholeVehicle, SideViewFallsBackToTheScriptFolder) {
  WriteTestFile(folder + u"side.png", "PNGDATA");
  auto run = Run("形式CG side.png\n");  // not in the working folder, found beside the script
  auto records = SplitRecords(run->Stream());
  ASSERT_NE(Find(records, 0x1500), nullptr) << run->LogText();
  EXPECT_EQ(Find(records, 0x1500)->data.size(), 4u + 7u);
  run = Run("形式CG nothing.png\n");
  EXPECT_NE(run->LogText().find("車両画像ファイルが見つからない [nothing.png]\r\n"), std::string::npos);
}

TEST_F(WholeVehicle, TextureDescriptionsKeepEarlierValuesOnError) {
  auto run = Run("テクスチャーINFO 24 1 2 3 512 512\nテクスチャーINFO 24 4 5 6 1024 256\n"
                 "テクスチャーINFO 16 0 0 0 256 256\nテクスチャーSIGN 0 0 0 256 64\n");
  const std::string log = run->LogText();
  EXPECT_NE(log.find("texinfo サイズエラー dx = 1024\r\n"), std::string::npos);
  EXPECT_NE(log.find("texinfo BIT error\r\n"), std::string::npos);
  EXPECT_NE(log.find("signinfo サイズエラー dy = 64\r\n"), std::string::npos);
  const VehicleCompiler& c = *run->compiler;
  EXPECT_EQ(c.main_texture.values[0], 4);  // stored before the width failed
  EXPECT_EQ(c.main_texture.width, 512u);
  EXPECT_EQ(c.main_texture.height, 512u);
  EXPECT_EQ(c.sign_texture.width, 256u);
  EXPECT_EQ(c.sign_texture.height, 128u);
}

TEST_F(WholeVehicle, ContainerRecords) {
  WriteTestFile(folder + u"cside.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\1\0\0\0\0\x80\x08\x02", 26));
  WriteTestFile(folder + u"bad.png", "not a png at all, but long enough to read");
  auto run = Run("コンテナ部品\nContainerName 12ftコンテナ\nContainerType\nContainerLength 3.5\n"
                 "ContainerSideview cside.png\nContainerSideview bad.png\nContainerModelBegin 256\n");
  auto records = SplitRecords(run->Stream());
  ASSERT_NE(Find(records, 0x801001), nullptr);
  EXPECT_EQ(Find(records, 0x801001)->data.size(), 64u);
  EXPECT_EQ(U32At(Find(records, 0x801002)->data, 0), 0xFFFFFFFFu);
  EXPECT_FLOAT_EQ(F32At(Find(records, 0x801003)->data, 0), 3.5f);
  const TestRecord* side = Find(records, 0x801020);
  ASSERT_NE(side, nullptr);
  EXPECT_EQ(U32At(side->data, 0), 256u);
  EXPECT_EQ(U32At(side->data, 4), 128u);
  EXPECT_EQ(U32At(side->data, 8), 26u);
  EXPECT_NE(run->LogText().find("画像ファイルエラー [bad.png]\r\n"), std::string::npos);
  EXPECT_EQ(run->compiler->main_texture.width, 256u);
  // A texture page of 0 is refused before anything can divide by it.
  run = Run("ContainerModelBegin\n");
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_EQ(run->compiler->main_texture.width, 256u);
}

}  // namespace
