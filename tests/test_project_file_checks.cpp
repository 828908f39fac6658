#include <gtest/gtest.h>

#include "project/file_checks.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

FileCheck Check(FileKind kind, const std::vector<uint8_t>& data) {
  return CheckFileData(kind, data);
}

TEST(ProjectFileChecks, MainAndSignTextures) {
  EXPECT_EQ(Check(FileKind::kMainTexture, PngBytes(512, 256, 8, 6)), FileCheck::kOk);
  EXPECT_EQ(Check(FileKind::kMainTexture, PngBytes(256, 256, 8, 2)), FileCheck::kOk);
  EXPECT_EQ(Check(FileKind::kMainTexture, PngBytes(256, 512, 8, 2)), FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kMainTexture, PngBytes(512, 512, 8, 2)), FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kMainTexture, PngBytes(256, 256, 16, 2)), FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kMainTexture, PngBytes(256, 256, 8, 3)), FileCheck::kWrongFormat);  // palette
  EXPECT_EQ(Check(FileKind::kMainTexture, PngBytes(256, 256, 8, 0)), FileCheck::kWrongFormat);  // grey
  EXPECT_EQ(Check(FileKind::kMainTexture, PngBytes(256, 256, 8, 4)), FileCheck::kWrongFormat);  // grey+alpha

  EXPECT_EQ(Check(FileKind::kSubTexture, PngBytes(128, 128, 8, 6)), FileCheck::kOk);
  EXPECT_EQ(Check(FileKind::kSubTexture, PngBytes(64, 64, 8, 6)), FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kSubTexture, PngBytes(128, 128, 8, 3)), FileCheck::kWrongFormat);

  // Only the first four signature bytes count.
  std::vector<uint8_t> odd = PngBytes(256, 256);
  odd[4] = 'x';
  EXPECT_EQ(Check(FileKind::kMainTexture, odd), FileCheck::kOk);
  odd[0] = 0x88;
  EXPECT_EQ(Check(FileKind::kMainTexture, odd), FileCheck::kWrongFormat);
}

TEST(ProjectFileChecks, SideViewIgnoresColourType) {
  EXPECT_EQ(Check(FileKind::kSideView, PngBytes(200, 58, 8, 3)), FileCheck::kOk);
  EXPECT_EQ(Check(FileKind::kSideView, PngBytes(200, 58, 8, 0)), FileCheck::kOk);
  EXPECT_EQ(Check(FileKind::kSideView, PngBytes(200, 60, 8, 2)), FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kSideView, PngBytes(200, 58, 4, 3)), FileCheck::kWrongFormat);
}

TEST(ProjectFileChecks, TruncatedPngNeedsItsWholeHeader) {
  std::vector<uint8_t> png = PngBytes(256, 256);
  for (size_t n : {0, 4, 16, 25}) {
    std::vector<uint8_t> cut(png.begin(), png.begin() + static_cast<long>(n));
    EXPECT_EQ(Check(FileKind::kMainTexture, cut), FileCheck::kWrongFormat) << n;
    EXPECT_EQ(Check(FileKind::kSideView, cut), FileCheck::kWrongFormat) << n;
  }
  png.resize(26);
  EXPECT_EQ(Check(FileKind::kMainTexture, png), FileCheck::kOk);
}

TEST(ProjectFileChecks, WaveFormats) {
  EXPECT_EQ(Check(FileKind::kWave, GoodWave()), FileCheck::kOk);
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({FmtChunk(2, 22050, 8), DataChunk(16)})),
            FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({FmtChunk(1, 22050, 16), DataChunk(16)})),
            FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({FmtChunk(1, 44100, 8), DataChunk(16)})),
            FileCheck::kWrongFormat);
  // "data" before "fmt ", and other chunks (odd sizes padded) on the way.
  std::vector<uint8_t> list;
  PutTag(list, "LIST");
  PutLe32(list, 3);
  list.insert(list.end(), {'a', 'b', 'c', 0});
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({list, DataChunk(15), FmtChunk(1, 22050, 8)})), FileCheck::kOk);
  // An empty "data" before "fmt " does not end the walk; nothing follows.
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({DataChunk(0), FmtChunk(1, 22050, 8)})), FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({DataChunk(0), FmtChunk(1, 22050, 8), DataChunk(4)})),
            FileCheck::kOk);
  // A "fmt " chunk must hold all 16 bytes read from it.
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({FmtChunk(1, 22050, 8, 14), DataChunk(16)})),
            FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({FmtChunk(1, 22050, 8, 18), DataChunk(16)})), FileCheck::kOk);
  // Missing chunks, other containers.
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({FmtChunk(1, 22050, 8)})), FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({DataChunk(8)})), FileCheck::kWrongFormat);
  std::vector<uint8_t> avi = GoodWave();
  std::copy_n("AVI ", 4, avi.begin() + 8);
  EXPECT_EQ(Check(FileKind::kWave, avi), FileCheck::kWrongFormat);
  EXPECT_EQ(Check(FileKind::kWave, PngBytes(256, 256)), FileCheck::kWrongFormat);
}

TEST(ProjectFileChecks, HostileWavesStayInsideTheFile) {
  const std::vector<uint8_t> good = GoodWave();
  // Every truncation fails cleanly, even inside the samples, since a chunk
  // must lie inside the file (the sanitizers watch the reads).
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
    EXPECT_EQ(Check(FileKind::kWave, cut), FileCheck::kWrongFormat) << n;
  }
  // A RIFF size far beyond the file, chunk sizes near 4 GiB.
  std::vector<uint8_t> huge = good;
  huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
  EXPECT_EQ(Check(FileKind::kWave, huge), FileCheck::kOk);
  std::vector<uint8_t> big_chunk = RiffWave({FmtChunk(1, 22050, 8)});
  PutTag(big_chunk, "junk");
  PutLe32(big_chunk, 0xFFFFFFFF);
  EXPECT_EQ(Check(FileKind::kWave, big_chunk), FileCheck::kWrongFormat);
  std::vector<uint8_t> big_fmt;
  PutTag(big_fmt, "fmt ");
  PutLe32(big_fmt, 0xFFFFFFF0);
  EXPECT_EQ(Check(FileKind::kWave, RiffWave({DataChunk(8), big_fmt})), FileCheck::kWrongFormat);
  // A RIFF size smaller than the chunks ends the walk early.
  std::vector<uint8_t> small = good;
  small[4] = 20;
  small[5] = small[6] = small[7] = 0;
  EXPECT_EQ(Check(FileKind::kWave, small), FileCheck::kWrongFormat);
}

TEST(ProjectFileChecks, SettersKeepTheOldPathWhenRefused) {
  TempFolder dir;
  const std::u16string main_a = dir.Write(u"a.png", PngBytes(512, 256, 8, 6));
  const std::u16string main_bad = dir.Write(u"tall.png", PngBytes(256, 512));
  const std::u16string side = dir.Write(u"side.png", PngBytes(200, 58, 8, 3));
  const std::u16string sign = dir.Write(u"sign.png", PngBytes(128, 128));
  const std::u16string wave = dir.Write(u"w.wav", GoodWave());
  const std::u16string stereo = dir.Write(u"s.wav", RiffWave({FmtChunk(2, 22050, 8), DataChunk(16)}));
  const std::u16string empty = dir.Write(u"empty.wav", {});

  VehicleProject p;
  EXPECT_TRUE(SetMainTexture(p, main_a));
  EXPECT_EQ(p.maintex.str(), main_a);
  EXPECT_FALSE(SetMainTexture(p, main_bad));
  EXPECT_FALSE(SetMainTexture(p, dir / u"missing.png"));
  EXPECT_EQ(p.maintex.str(), main_a);
  EXPECT_TRUE(SetSideView(p, side));
  EXPECT_FALSE(SetSideView(p, main_a));
  EXPECT_EQ(p.sideview.str(), side);
  EXPECT_TRUE(SetSubTexture(p, sign));
  // An empty path clears without reading anything.
  EXPECT_TRUE(SetSubTexture(p, u""));
  EXPECT_TRUE(p.subtex.empty());

  const FileField& brake = kSoundFields[1];
  ASSERT_EQ(std::u16string(brake.key), u"break");
  FileCheck why;
  EXPECT_TRUE(SetFileField(p, brake, wave, &why));
  EXPECT_EQ(why, FileCheck::kOk);
  EXPECT_EQ(p.break_.str(), wave);
  EXPECT_FALSE(SetFileField(p, brake, stereo, &why));
  EXPECT_EQ(why, FileCheck::kWrongFormat);
  EXPECT_FALSE(SetFileField(p, brake, empty, &why));
  EXPECT_EQ(why, FileCheck::kUnreadable);
  EXPECT_FALSE(SetFileField(p, brake, dir / u"none.wav", &why));
  EXPECT_EQ(why, FileCheck::kUnreadable);
  EXPECT_EQ(p.break_.str(), wave);
  EXPECT_TRUE(SetFileField(p, brake, u"", &why));
  EXPECT_TRUE(p.break_.empty());
}

TEST(ProjectFileChecks, SoundFieldTable) {
  const char16_t* keys[] = {u"whistle", u"break", u"motor1", u"motor2", u"gap1",
                            u"gap2",    u"idle",  u"vvvf",   u"comp",   u"power"};
  const char16_t* commands[] = {
      u"音源警笛",      u"音源ブレーキ", u"音源モーター基準", u"音源モーター高速",   u"音源ギャップ1",
      u"音源ギャップ2", u"音源アイドル", u"音源VVVF",         u"音源コンプレッサー", u"音源電源車"};
  VehicleProject p;
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(std::u16string(kSoundFields[i].key), keys[i]);
    EXPECT_EQ(std::u16string(kSoundFields[i].command), commands[i]);
    // Each row names its own field.
    (p.*kSoundFields[i].member).Set(keys[i]);
  }
  EXPECT_EQ(p.whistle.str(), u"whistle");
  EXPECT_EQ(p.break_.str(), u"break");
  EXPECT_EQ(p.vvvf.str(), u"vvvf");
  EXPECT_EQ(p.power.str(), u"power");
  EXPECT_EQ(std::u16string(kSoundFields[1].refused), u"ブレーキ : 不適切なwaveファイルです。");
  EXPECT_EQ(std::u16string(kImageFields[2].refused), u"車両テクスチャー：不適切なファイルです。");
}

}  // namespace
