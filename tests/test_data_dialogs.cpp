#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dialogs/data_dialog_session.h"
#include "dialogs/data_dialogs.h"
#include "project/project_file.h"
#include "res/dialog_ids.h"
#include "tests/test_dialog_helpers.h"
#include "tests/test_project_helpers.h"

namespace {

using testing_dialogs::FakeControls;
using testing_project::GoodWave;
using testing_project::PngBytes;
using testing_project::RecordingNotifier;
using testing_project::TempFolder;

// One dialog opened on a project, as the program opens it.
struct OpenDialog {
  OpenDialog(int template_id, VehicleProject& p)
      : session(*FindDataDialog(template_id), p, controls, notifier) {
    session.Show();
  }
  FakeControls controls;
  RecordingNotifier notifier;
  DataDialogSession session;
};

bool SameProject(const VehicleProject& a, const VehicleProject& b) {
  return a.maker.view() == b.maker.view() && FormatProjectFile(a) == FormatProjectFile(b);
}

TEST(DataDialogs, EveryMenuDialogIsDescribed) {
  const int templates[] = {122, 123, 124, 125, 126, 127, 128, 129, 130, 140};
  ASSERT_EQ(kDataDialogCount, 10u);
  for (int t : templates) ASSERT_NE(FindDataDialog(t), nullptr) << t;
  EXPECT_EQ(FindDataDialog(141), nullptr);
  EXPECT_EQ(std::u16string(FindDataDialog(130)->caption), u"ヘッドマーク/方向幕");
  EXPECT_EQ(std::u16string(FindDataDialog(140)->caption), u"サウンド");
  // Every browse button fills an edit that the dialog's exchange shows.
  auto p = std::make_unique<VehicleProject>();
  for (size_t d = 0; d < kDataDialogCount; ++d) {
    OpenDialog dialog(kDataDialogs[d].template_id, *p);
    for (size_t b = 0; b < kDataDialogs[d].button_count; ++b) {
      const BrowseButton& button = kDataDialogs[d].buttons[b];
      EXPECT_EQ(dialog.controls.texts.count(button.edit), 1u) << button.button;
      EXPECT_EQ(dialog.controls.texts.count(button.button), 0u) << button.button;
    }
  }
}

TEST(DataDialogs, BasicSettingsShowAndWriteEveryField) {
  TempFolder dir;
  const std::u16string main = dir.Write(u"main.png", PngBytes(512, 256, 8, 6));
  const std::u16string side = dir.Write(u"side.png", PngBytes(200, 58, 8, 3));
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  p->maker.Set(u"工房");
  OpenDialog d(IDD_BASIC, *p);
  FakeControls& c = d.controls;
  // The reset project as shown: category 32 is row 4, speed 120, zoom
  // "%6.5f", the V-flip box unchecked because downv is 1.
  EXPECT_EQ(c.selections[IDC_BASIC_CATEGORY], 4);
  EXPECT_EQ(c.items[IDC_BASIC_CATEGORY].size(), 19u);
  EXPECT_EQ(c.texts[IDC_BASIC_SPEED], u"120");
  EXPECT_EQ(c.texts[IDC_BASIC_HURIKO], u"0");
  EXPECT_EQ(c.texts[IDC_BASIC_ZOOM], u"1.00000");
  EXPECT_EQ(c.selections[IDC_BASIC_TECZOOM], 0);
  EXPECT_FALSE(c.checks[IDC_BASIC_FLIPV]);
  EXPECT_EQ(c.limits[IDC_BASIC_NAME], 63u);
  EXPECT_EQ(c.limits[IDC_BASIC_SNAME], 31u);
  EXPECT_EQ(c.limits[IDC_BASIC_OUTPATH], 259u);

  c.selections[IDC_BASIC_CATEGORY] = 14;  // コンテナ
  c.texts[IDC_BASIC_OUTPATH] = u"C:\\out\\";
  c.texts[IDC_BASIC_NAME] = u"EF65";
  c.texts[IDC_BASIC_SNAME] = u"EF";
  c.texts[IDC_BASIC_SERIES] = u"電機";
  c.texts[IDC_BASIC_GUIDE] = u"説明文";
  c.texts[IDC_BASIC_SPEED] = u"110";
  c.texts[IDC_BASIC_HURIKO] = u"5";
  c.checks[IDC_BASIC_FIXHURIKO] = true;
  c.texts[IDC_BASIC_MAINTEX] = main;
  c.texts[IDC_BASIC_ZOOM] = u"2.5";
  c.selections[IDC_BASIC_TECZOOM] = 2;
  c.texts[IDC_BASIC_SIDEVIEW] = side;
  c.checks[IDC_BASIC_FLIPV] = true;
  c.checks[IDC_BASIC_CHANGELR] = true;
  c.checks[IDC_BASIC_OBJSMT] = true;
  c.checks[IDC_BASIC_OBJFLATREV] = true;
  ASSERT_TRUE(d.session.Ok());
  EXPECT_TRUE(d.notifier.calls.empty());
  EXPECT_EQ(p->category, 81);
  EXPECT_EQ(p->outpath.str(), u"C:\\out");  // trailing separator removed
  EXPECT_EQ(p->name.str(), u"EF65");
  EXPECT_EQ(p->sname.str(), u"EF");
  EXPECT_EQ(p->series.str(), u"電機");
  EXPECT_EQ(p->guide.str(), u"説明文");
  EXPECT_EQ(p->speed, 110);
  EXPECT_EQ(p->huriko, 5);
  EXPECT_EQ(p->fixhuriko, 1);
  EXPECT_EQ(p->maintex.str(), main);
  EXPECT_EQ(p->zoom, 2.5f);
  EXPECT_EQ(p->teczoom, 2);
  EXPECT_EQ(p->sideview.str(), side);
  EXPECT_EQ(p->downv, 0);  // checked means 0
  EXPECT_EQ(p->changelr, 1);
  EXPECT_EQ(p->objsmt, 1);
  EXPECT_EQ(p->objflatrev, 1);
  EXPECT_EQ(p->maker.str(), u"工房");
}

TEST(DataDialogs, BadNumberNamesFieldAndRangeAndKeepsTheDialogOpen) {
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  p->speed = 95;
  const auto before = std::make_unique<VehicleProject>(*p);
  OpenDialog d(IDD_BASIC, *p);
  d.controls.texts[IDC_BASIC_NAME] = u"EF65";
  d.controls.texts[IDC_BASIC_SPEED] = u"501";
  EXPECT_FALSE(d.session.Ok());
  EXPECT_EQ(d.notifier.calls.size(), 1u);
  EXPECT_EQ(d.notifier.calls[0].first, u"検証");
  EXPECT_EQ(d.notifier.calls[0].second, u"最高速度：1から500までの整数を入力してください。");
  EXPECT_EQ(d.controls.focused, IDC_BASIC_SPEED);
  EXPECT_TRUE(SameProject(*p, *before));  // not even the type number was written

  // Letters in the tilt angle, an unreadable scale: the first is named.
  d.controls.texts[IDC_BASIC_SPEED] = u"100";
  d.controls.texts[IDC_BASIC_HURIKO] = u"abc";
  d.controls.texts[IDC_BASIC_ZOOM] = u"x";
  EXPECT_FALSE(d.session.Ok());
  EXPECT_EQ(d.notifier.calls.back().second, u"振り子角度：0から8までの整数を入力してください。");
  d.controls.texts[IDC_BASIC_HURIKO] = u"9";
  EXPECT_FALSE(d.session.Ok());
  EXPECT_EQ(d.notifier.calls.back().second, u"振り子角度：0から8までの整数を入力してください。");
  d.controls.texts[IDC_BASIC_HURIKO] = u"８";  // full width
  EXPECT_FALSE(d.session.Ok());
  EXPECT_EQ(d.notifier.calls.back().second, u"OBJ拡大率：数値を正しく入力してください。");
  EXPECT_EQ(d.controls.focused, IDC_BASIC_ZOOM);
  EXPECT_TRUE(SameProject(*p, *before));
  // The user gives up: Cancel writes nothing, the project is as before.

  // Corrected, OK goes through; an empty scale is an accepted 0.
  d.controls.texts[IDC_BASIC_ZOOM] = u"";
  EXPECT_TRUE(d.session.Ok());
  EXPECT_EQ(p->speed, 100);
  EXPECT_EQ(p->huriko, 8);
  EXPECT_EQ(p->zoom, 0.0f);
  EXPECT_EQ(p->name.str(), u"EF65");
}

TEST(DataDialogs, RefusedImageShowsItsMessageKeepsOldValueAndCloses) {
  TempFolder dir;
  const std::u16string good = dir.Write(u"sign.png", PngBytes(128, 128, 8, 2));
  const std::u16string small = dir.Write(u"small.png", PngBytes(64, 64, 8, 2));
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  ASSERT_TRUE(SetSubTexture(*p, good));
  OpenDialog d(IDD_HEADMARK, *p);
  EXPECT_EQ(d.controls.texts[IDC_SIGN_SUBTEX], good);
  d.controls.texts[IDC_SIGN_SUBTEX] = small;
  d.controls.texts[IDC_SIGN_HM2] = u"hm2.obj";
  EXPECT_TRUE(d.session.Ok());
  EXPECT_EQ(d.notifier.Only(), u"車両テクスチャー：不適切なファイルです。");
  EXPECT_EQ(p->subtex.str(), good);
  EXPECT_EQ(p->modelHM[1].str(), u"hm2.obj");
}

TEST(DataDialogs, SoundsGoThroughTheirSettersInDialogOrder) {
  TempFolder dir;
  const std::u16string wave = dir.Write(u"ok.wav", GoodWave());
  const std::u16string stereo = dir.Write(
      u"st.wav",
      testing_project::RiffWave({testing_project::FmtChunk(2, 22050, 8), testing_project::DataChunk(16)}));
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  OpenDialog d(IDD_SOUND, *p);
  d.controls.texts[IDC_SOUND_BREAK] = stereo;
  d.controls.texts[IDC_SOUND_WHISTLE] = wave;
  d.controls.texts[IDC_SOUND_GAP1] = u"ok.wav";  // relative, and the project was never saved
  d.controls.texts[IDC_SOUND_POWER] = dir / u"missing.wav";
  d.controls.texts[IDC_SOUND_VVVF] = wave;
  EXPECT_TRUE(d.session.Ok());
  ASSERT_EQ(d.notifier.calls.size(), 3u);
  EXPECT_EQ(d.notifier.calls[0].second, u"ブレーキ : 不適切なwaveファイルです。");
  EXPECT_EQ(d.notifier.calls[1].second, u"ギャップ1：相対パスは、車両設定を保存した後で指定できます。");
  EXPECT_EQ(d.notifier.calls[2].second, u"電源車 : 不適切なwaveファイルです。");
  EXPECT_TRUE(p->gap1.empty());
  EXPECT_TRUE(p->break_.empty());
  EXPECT_EQ(p->whistle.str(), wave);
  EXPECT_EQ(p->vvvf.str(), wave);
  EXPECT_TRUE(p->power.empty());
}

TEST(DataDialogs, BogieListsKeepUnlistedValuesAndTheFourthMount) {
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  p->truck[0].type = 7;  // from an old file: no entry shows it
  p->truck[1].type = 2;
  p->truck[1].tirein[0].tireID = 2;
  p->truck[1].tirein[1].tireID = 5;
  p->truck[1].tirein[3] = TireMount{1, 3.5f, 4.5f};
  p->tire[0].TireRadius = 8.5f;
  OpenDialog d(IDD_BOGIE, *p);
  FakeControls& c = d.controls;
  EXPECT_EQ(c.selections[IDC_TRUCK1_TYPE], -1);
  EXPECT_EQ(c.selections[IDC_TRUCK2_TYPE], 2);
  EXPECT_EQ(c.selections[IDC_TRUCK2_MOUNT1], 2);
  EXPECT_EQ(c.selections[IDC_TRUCK2_MOUNT2], -1);
  EXPECT_EQ(c.items[IDC_TRUCK3_TYPE].size(), 4u);
  EXPECT_EQ(c.items[IDC_TRUCK3_MOUNT3].size(), 3u);
  EXPECT_EQ(c.texts[IDC_TIRE1_RADIUS], u"8.50000");
  EXPECT_EQ(c.texts[IDC_TRUCK2_POS], u"0.00000");

  c.selections[IDC_TRUCK3_TYPE] = 3;
  c.texts[IDC_TRUCK3_POS] = u"-12.25";
  c.texts[IDC_TRUCK3_MODEL] = u"frame.obj";
  c.selections[IDC_TRUCK3_MOUNT3] = 1;
  c.texts[IDC_TRUCK3_MOUNT3_X] = u"1.5";
  c.texts[IDC_TRUCK3_MOUNT3_Y] = u"-0.5";
  c.texts[IDC_TIRE2_MODEL] = u"wheel.obj";
  c.texts[IDC_TIRE2_RADIUS] = u"４．２";
  ASSERT_TRUE(d.session.Ok());
  EXPECT_EQ(p->truck[0].type, 7);
  EXPECT_EQ(p->truck[1].tirein[1].tireID, 5);
  EXPECT_EQ(p->truck[1].tirein[3].tireID, 1);
  EXPECT_EQ(p->truck[1].tirein[3].tirePOSY, 4.5f);
  EXPECT_EQ(p->truck[2].type, 3);
  EXPECT_EQ(p->truck[2].pos, -12.25f);
  EXPECT_EQ(p->truck[2].model.str(), u"frame.obj");
  EXPECT_EQ(p->truck[2].tirein[2].tireID, 1);
  EXPECT_EQ(p->truck[2].tirein[2].tirePOSX, 1.5f);
  EXPECT_EQ(p->truck[2].tirein[2].tirePOSY, -0.5f);
  EXPECT_EQ(p->tire[1].modelTire.str(), u"wheel.obj");
  EXPECT_EQ(p->tire[1].TireRadius, 4.2f);
}

TEST(DataDialogs, CabPositionIsStoredWholeOrNotAtAll) {
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  p->untendai[0] = CabEntry{1, 1, 2, 3};
  OpenDialog d(IDD_CAB, *p);
  EXPECT_TRUE(d.controls.checks[IDC_CAB1_ACTIVE]);
  EXPECT_EQ(d.controls.texts[IDC_CAB1_Y], u"2.000000");
  d.controls.texts[IDC_CAB1_X] = u"10";
  d.controls.texts[IDC_CAB1_Y] = u"abc";
  d.controls.texts[IDC_CAB1_Z] = u"30";
  EXPECT_FALSE(d.session.Ok());
  EXPECT_EQ(d.notifier.Only(), u"マイナス方向の運転台 y：数値を正しく入力してください。");
  EXPECT_EQ(p->untendai[0].posx, 1.0f);
  EXPECT_EQ(p->untendai[0].posy, 2.0f);
  EXPECT_EQ(p->untendai[0].posz, 3.0f);
  d.controls.texts[IDC_CAB1_Y] = u"20";
  d.controls.checks[IDC_CAB2_ACTIVE] = true;
  EXPECT_TRUE(d.session.Ok());
  EXPECT_EQ(p->untendai[0].posy, 20.0f);
  EXPECT_EQ(p->untendai[1].active, 1);
}

TEST(DataDialogs, OptionPagesLiveInTheDialogUntilOk) {
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  p->optionset[1].modelA.Set(u"b-a.obj");
  const auto before = std::make_unique<VehicleProject>(*p);
  {
    OpenDialog d(IDD_OPTION, *p);
    EXPECT_EQ(d.controls.selections[IDC_OPTION_SET], 0);
    EXPECT_EQ(d.controls.items[IDC_OPTION_SET][2], u"オプション 3");
    d.controls.texts[IDC_OPTION_A] = u"first.obj";
    d.controls.checks[IDC_OPTION_START] = true;
    ASSERT_TRUE(d.session.ChangePage(1));
    EXPECT_EQ(d.controls.texts[IDC_OPTION_A], u"b-a.obj");
    EXPECT_FALSE(d.controls.checks[IDC_OPTION_START]);
    d.controls.texts[IDC_OPTION_IRE] = u"ire.obj";
    ASSERT_TRUE(d.session.ChangePage(0));
    EXPECT_EQ(d.controls.texts[IDC_OPTION_A], u"first.obj");
    EXPECT_TRUE(d.controls.checks[IDC_OPTION_START]);
    // Cancel: nothing of either page reaches the project.
  }
  EXPECT_TRUE(SameProject(*p, *before));
  {
    OpenDialog d(IDD_OPTION, *p);
    d.controls.texts[IDC_OPTION_H] = u"glass.obj";
    ASSERT_TRUE(d.session.ChangePage(3));
    d.controls.texts[IDC_OPTION_LT1] = u"lt1.obj";
    ASSERT_TRUE(d.session.Ok());
  }
  EXPECT_EQ(p->optionset[0].modelH.str(), u"glass.obj");
  EXPECT_EQ(p->optionset[3].modelLT1.str(), u"lt1.obj");
  EXPECT_EQ(p->optionset[1].modelA.str(), u"b-a.obj");
}

TEST(DataDialogs, PathsLongerThanTheirFieldAreRefusedNotCut) {
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  p->modelA1.Set(u"old.obj");
  OpenDialog d(IDD_BODY, *p);
  const BrowseButton* button = FindBrowseButton(d.session.Layout(), IDC_BODY_A1_BROWSE);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->edit, IDC_BODY_A1);
  EXPECT_EQ(button->kind, BrowseKind::kModel);
  const std::u16string long_path = u"C:\\" + std::u16string(257, u'a');  // 260 characters
  EXPECT_FALSE(d.session.PutChosenPath(*button, long_path));
  EXPECT_EQ(d.notifier.Only(),
            u"選択したファイル：パスが長すぎます。\n259文字以内のパスを指定してください。");
  EXPECT_EQ(d.controls.texts[IDC_BODY_A1], u"old.obj");
  const std::u16string fits = long_path.substr(1);  // 259
  EXPECT_TRUE(d.session.PutChosenPath(*button, fits));
  EXPECT_EQ(d.controls.texts[IDC_BODY_A1], fits);
  // The same limit for a typed path at OK.
  d.controls.texts[IDC_BODY_H] = long_path;
  EXPECT_FALSE(d.session.Ok());
  EXPECT_EQ(d.notifier.calls.back().second, u"窓：パスが長すぎます。\n259文字以内のパスを指定してください。");
  EXPECT_EQ(p->modelA1.str(), u"old.obj");
  d.controls.texts[IDC_BODY_H] = u"";
  EXPECT_TRUE(d.session.Ok());
  EXPECT_EQ(p->modelA1.str(), fits);
}

TEST(DataDialogs, ValuesNoVehicleCanHaveAreRefusedByName) {
  struct Case {
    int dialog, control;
    std::u16string text;
    const char16_t* message;
  };
  const Case cases[] = {
      {IDD_BOGIE, IDC_TIRE1_RADIUS, u"0", u"車輪1 半径：モデルのある車輪の半径は0より大きい値を入力してください。"},
      {IDD_BOGIE, IDC_TIRE1_RADIUS, u"-430", u"車輪1 半径：モデルのある車輪の半径は0より大きい値を入力してください。"},
      {IDD_BOGIE, IDC_TRUCK2_POS, u"1e30", u"台車2 位置：-100000から100000までの数値を入力してください。"},
      {IDD_BASIC, IDC_BASIC_NAME, std::u16string(140, u'N'), u"形式番号：文字数が多すぎます。\n63文字以内で入力してください。"},
      {IDD_BASIC, IDC_BASIC_SERIES, u"caf\u00E9", u"形式名：スクリプトに書けない文字が含まれています。(U+00E9)"},
      {IDD_BODY, IDC_BODY_H, u"a\tb.obj", u"窓：スクリプトに書けない文字が含まれています。(U+0009)"},
  };
  for (const Case& c : cases) {
    auto p = std::make_unique<VehicleProject>();
    ResetProject(*p);
    p->tire[0].modelTire.Set(u"w.obj");
    p->tire[0].TireRadius = 430;
    const auto before = std::make_unique<VehicleProject>(*p);
    OpenDialog d(c.dialog, *p);
    d.controls.texts[c.control] = c.text;
    EXPECT_FALSE(d.session.Ok()) << c.control;
    EXPECT_EQ(d.notifier.Only(), c.message);
    EXPECT_EQ(d.notifier.calls[0].first, u"検証");
    EXPECT_EQ(d.controls.focused, c.control);
    EXPECT_TRUE(SameProject(*p, *before));  // nothing cut or changed
  }
}

TEST(DataDialogs, RemainingDialogsMoveTheirFields) {
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  {
    OpenDialog d(IDD_PANTOGRAPH, *p);
    d.controls.texts[IDC_PANTA3_UP] = u"up3.obj";
    d.controls.texts[IDC_PANTA3_DOWN] = u"down3.obj";
    d.controls.checks[IDC_PANTA3_STARTDOWN] = true;
    ASSERT_TRUE(d.session.Ok());
  }
  EXPECT_EQ(p->pantograph[2].modelUP.str(), u"up3.obj");
  EXPECT_EQ(p->pantograph[2].modelDOWN.str(), u"down3.obj");
  EXPECT_EQ(p->pantograph[2].startdown, 1);
  {
    OpenDialog d(IDD_COUPLER, *p);
    EXPECT_EQ(d.controls.texts[IDC_LINK0], u"0.00000");
    d.controls.texts[IDC_LINK0] = u"-9.5";
    d.controls.texts[IDC_LINK1] = u" 9.5 ";
    ASSERT_TRUE(d.session.Ok());
  }
  EXPECT_EQ(p->link0, -9.5f);
  EXPECT_EQ(p->link1, 9.5f);
  {
    OpenDialog d(IDD_LIGHT, *p);
    d.controls.texts[IDC_LIGHT_LT1] = u"lt1.obj";
    d.controls.texts[IDC_LIGHT_IRE] = u"ire.obj";
    ASSERT_TRUE(d.session.Ok());
  }
  EXPECT_EQ(p->modelLT1.str(), u"lt1.obj");
  EXPECT_EQ(p->modelIRE.str(), u"ire.obj");
  {
    OpenDialog d(IDD_BODY, *p);
    d.controls.texts[IDC_BODY_B2] = u"b2.obj";
    d.controls.texts[IDC_BODY_I] = u"室内.obj";
    ASSERT_TRUE(d.session.Ok());
  }
  EXPECT_EQ(p->modelB2.str(), u"b2.obj");
  EXPECT_EQ(p->modelI.str(), u"室内.obj");
}

}  // namespace
