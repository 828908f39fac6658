#include <gtest/gtest.h>

#include <cmath>

#include "datamake/validate.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

class Validate : public ::testing::Test {
 protected:
  // A project that passes every check.
  void SetUp() override {
    p_.name.Set(u"EF65");
    p_.outpath.Set(u"out");
    p_.series.Set(u"EF65形");
    p_.maintex.Set(dir_.Write(u"main.png", PngBytes(512, 256, 8, 6)));
    p_.sideview.Set(u"side.png");  // only its presence is checked here
  }
  std::u16string Message() {
    RecordingNotifier n;
    MainTextureSize size;
    const bool result = ValidateProject(p_, n, &size);
    if (result) return n.calls.empty() ? u"" : u"(message on success)";
    if (n.calls.size() != 1 || n.calls[0].first != u"検証") return u"(not one check message)";
    return n.calls[0].second;
  }

  TempFolder dir_;
  VehicleProject p_;
};

TEST_F(Validate, EveryCheckInOrder) {
  EXPECT_EQ(Message(), u"");

  VehicleProject good = p_;
  // Each project below is the passing one with the one field broken, plus
  // every field of a later check broken too, so the order shows.
  p_ = good;
  p_.name.Clear();
  p_.outpath.Clear();
  p_.series.Clear();
  EXPECT_EQ(Message(), u"形式番号が設定されていません。");
  p_.name = good.name;
  EXPECT_EQ(Message(), u"出力パスが設定されていません。");
  p_.outpath = good.outpath;
  p_.maintex.Clear();
  p_.zoom = 0;
  EXPECT_EQ(Message(), u"形式名が設定されていません。");
  p_.series = good.series;
  p_.sideview.Clear();
  EXPECT_EQ(Message(), u"メインテクスチャーが設定されていません。");
  p_.maintex = good.maintex;
  EXPECT_EQ(Message(), u"OBJ拡大率が0以下です。");
  p_.zoom = 1;
  EXPECT_EQ(Message(), u"形式画像が設定されていません。");
  p_.sideview = good.sideview;

  p_.maintex.Set(dir_ / u"missing.png");
  EXPECT_EQ(Message(), u"メインテクスチャー：設定されていません。");
  p_.maintex.Set(dir_.Write(u"empty.png", {}));
  EXPECT_EQ(Message(), u"メインテクスチャー：設定されていません。");
  p_.maintex.Set(dir_.Write(u"wave.png", GoodWave()));
  EXPECT_EQ(Message(), u"メインテクスチャー：PNG形式ではありません。");
  p_.maintex.Set(dir_.Write(u"grey.png", PngBytes(256, 256, 8, 0)));
  EXPECT_EQ(Message(), u"メインテクスチャー：INDEX COLOR形式は非対応です。");
  p_.maintex.Set(dir_.Write(u"palette.png", PngBytes(256, 256, 8, 3)));
  EXPECT_EQ(Message(), u"メインテクスチャー：INDEX COLOR形式は非対応です。");
}

TEST_F(Validate, SmallestFailingProjects) {
  // From a fresh project, one field at a time.
  const VehicleProject good = p_;
  ResetProject(p_);
  EXPECT_EQ(Message(), u"形式番号が設定されていません。");
  p_.name = good.name;
  EXPECT_EQ(Message(), u"出力パスが設定されていません。");
  p_.outpath = good.outpath;
  EXPECT_EQ(Message(), u"形式名が設定されていません。");
  p_.series = good.series;
  EXPECT_EQ(Message(), u"メインテクスチャーが設定されていません。");
  p_.maintex.Set(dir_ / u"nowhere.png");
  EXPECT_EQ(Message(), u"形式画像が設定されていません。");
  p_.sideview = good.sideview;
  EXPECT_EQ(Message(), u"メインテクスチャー：設定されていません。");
  p_.zoom = -2;
  EXPECT_EQ(Message(), u"OBJ拡大率が0以下です。");
}

TEST_F(Validate, ScaleFactor) {
  for (float zoom : {0.0f, -0.0f, -1.0f, NAN, INFINITY, -INFINITY}) {
    p_.zoom = zoom;
    EXPECT_EQ(Message(), u"OBJ拡大率が0以下です。") << zoom;
  }
  p_.zoom = 1e-30f;
  EXPECT_EQ(Message(), u"");
}

TEST_F(Validate, OnlyTheHeaderMattersAndTheSizeComesBack) {
  // Bit depth and size are the setter's business: a 16-bit RGB image passes.
  p_.maintex.Set(dir_.Write(u"deep.png", PngBytes(300, 200, 16, 2)));
  RecordingNotifier n;
  MainTextureSize size;
  ASSERT_TRUE(ValidateProject(p_, n, &size));
  EXPECT_TRUE(n.calls.empty());
  EXPECT_EQ(size.width, 300u);
  EXPECT_EQ(size.height, 200u);
  // A file with the signature but cut before its colour type is no PNG.
  std::vector<uint8_t> cut = PngBytes(256, 256);
  cut.resize(20);
  p_.maintex.Set(dir_.Write(u"cut.png", cut));
  EXPECT_EQ(Message(), u"メインテクスチャー：PNG形式ではありません。");
}

}  // namespace
