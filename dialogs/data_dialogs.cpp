#include "dialogs/data_dialogs.h"

#include "project/value_findings.h"
#include "res/dialog_ids.h"
#include "res/resource.h"

namespace {

constexpr FloatFormat kZoomFormat{6, 5};      // "%6.5f"
constexpr FloatFormat kRadiusFormat{2, 5};    // "%2.5f"
constexpr FloatFormat kPositionFormat{4, 5};  // "%4.5f"

void ExchangeBasic(DialogExchange& x, VehicleProject& p, int) {
  x.Choice(IDC_BASIC_CATEGORY, CategoryChoices(), p.category);
  x.OutputFolder(IDC_BASIC_OUTPATH, p, u"出力パス");
  x.Text(IDC_BASIC_NAME, p.name, u"形式番号");
  x.Text(IDC_BASIC_SNAME, p.sname, u"形式番号（短縮）");
  x.Text(IDC_BASIC_SERIES, p.series, u"形式名");
  x.Text(IDC_BASIC_GUIDE, p.guide, u"説明");
  x.Int(IDC_BASIC_SPEED, p.speed, 1, 500, u"最高速度");
  x.Int(IDC_BASIC_HURIKO, p.tilt_angle, 0, 8, u"振り子角度");
  x.Flag(IDC_BASIC_FIXHURIKO, p.fixhuriko);
  x.CheckedFile(IDC_BASIC_MAINTEX, p, kImageFields[0]);
  x.Float(IDC_BASIC_ZOOM, p.zoom, kZoomFormat, u"OBJ拡大率");
  x.Choice(IDC_BASIC_TECZOOM, GaugeCorrectionChoices(), p.teczoom);
  x.CheckedFile(IDC_BASIC_SIDEVIEW, p, kImageFields[1]);
  x.Flag(IDC_BASIC_FLIPV, p.texture_v_up, true);
  x.Flag(IDC_BASIC_CHANGELR, p.changelr);
  x.Flag(IDC_BASIC_OBJSMT, p.obj_smoothing);
  x.Flag(IDC_BASIC_OBJFLATREV, p.objflatrev);
}

const BrowseButton kBasicButtons[] = {
    {IDC_BASIC_OUTPATH_BROWSE, IDC_BASIC_OUTPATH, BrowseKind::kFolder},
    {IDC_BASIC_MAINTEX_BROWSE, IDC_BASIC_MAINTEX, BrowseKind::kTexture},
    {IDC_BASIC_SIDEVIEW_BROWSE, IDC_BASIC_SIDEVIEW, BrowseKind::kTypeImage},
};

void ExchangeBody(DialogExchange& x, VehicleProject& p, int) {
  x.Path(IDC_BODY_A1, p.modelA1, u"車体（光沢）1");
  x.Path(IDC_BODY_A2, p.modelA2, u"車体（光沢）2");
  x.Path(IDC_BODY_B1, p.modelB1, u"車体（つや消し）1");
  x.Path(IDC_BODY_B2, p.modelB2, u"車体（つや消し）2");
  x.Path(IDC_BODY_H, p.modelH, u"窓");
  x.Path(IDC_BODY_I, p.modelI, u"室内");
}

const BrowseButton kBodyButtons[] = {
    {IDC_BODY_A1_BROWSE, IDC_BODY_A1, BrowseKind::kModel},
    {IDC_BODY_A2_BROWSE, IDC_BODY_A2, BrowseKind::kModel},
    {IDC_BODY_B1_BROWSE, IDC_BODY_B1, BrowseKind::kModel},
    {IDC_BODY_B2_BROWSE, IDC_BODY_B2, BrowseKind::kModel},
    {IDC_BODY_H_BROWSE, IDC_BODY_H, BrowseKind::kModel},
    {IDC_BODY_I_BROWSE, IDC_BODY_I, BrowseKind::kModel},
};

// The controls of one bogie: type, position, frame model and three mounts
// (list, x, y). The fourth mount has no controls and is kept.
struct TruckControls {
  int type, pos, model;
  int mount[3][3];
  const char16_t* labels[8];  // position, model, then x and y of mounts 1 to 3
};

const TruckControls kTruckControls[kTruckCount] = {
    {IDC_TRUCK1_TYPE,
     IDC_TRUCK1_POS,
     IDC_TRUCK1_MODEL,
     {{IDC_TRUCK1_MOUNT1, IDC_TRUCK1_MOUNT1_X, IDC_TRUCK1_MOUNT1_Y},
      {IDC_TRUCK1_MOUNT2, IDC_TRUCK1_MOUNT2_X, IDC_TRUCK1_MOUNT2_Y},
      {IDC_TRUCK1_MOUNT3, IDC_TRUCK1_MOUNT3_X, IDC_TRUCK1_MOUNT3_Y}},
     {u"台車1 位置", u"台車1 モデル", u"台車1 車軸1 x", u"台車1 車軸1 y", u"台車1 車軸2 x", u"台車1 車軸2 y",
      u"台車1 車軸3 x", u"台車1 車軸3 y"}},
    {IDC_TRUCK2_TYPE,
     IDC_TRUCK2_POS,
     IDC_TRUCK2_MODEL,
     {{IDC_TRUCK2_MOUNT1, IDC_TRUCK2_MOUNT1_X, IDC_TRUCK2_MOUNT1_Y},
      {IDC_TRUCK2_MOUNT2, IDC_TRUCK2_MOUNT2_X, IDC_TRUCK2_MOUNT2_Y},
      {IDC_TRUCK2_MOUNT3, IDC_TRUCK2_MOUNT3_X, IDC_TRUCK2_MOUNT3_Y}},
     {u"台車2 位置", u"台車2 モデル", u"台車2 車軸1 x", u"台車2 車軸1 y", u"台車2 車軸2 x", u"台車2 車軸2 y",
      u"台車2 車軸3 x", u"台車2 車軸3 y"}},
    {IDC_TRUCK3_TYPE,
     IDC_TRUCK3_POS,
     IDC_TRUCK3_MODEL,
     {{IDC_TRUCK3_MOUNT1, IDC_TRUCK3_MOUNT1_X, IDC_TRUCK3_MOUNT1_Y},
      {IDC_TRUCK3_MOUNT2, IDC_TRUCK3_MOUNT2_X, IDC_TRUCK3_MOUNT2_Y},
      {IDC_TRUCK3_MOUNT3, IDC_TRUCK3_MOUNT3_X, IDC_TRUCK3_MOUNT3_Y}},
     {u"台車3 位置", u"台車3 モデル", u"台車3 車軸1 x", u"台車3 車軸1 y", u"台車3 車軸2 x", u"台車3 車軸2 y",
      u"台車3 車軸3 x", u"台車3 車軸3 y"}},
};

struct TireControls {
  int model, radius;
  const char16_t* model_label;
  const char16_t* radius_label;
};

const TireControls kTireControls[kTireCount] = {
    {IDC_TIRE1_MODEL, IDC_TIRE1_RADIUS, u"車輪1 モデル", u"車輪1 半径"},
    {IDC_TIRE2_MODEL, IDC_TIRE2_RADIUS, u"車輪2 モデル", u"車輪2 半径"},
};

void ExchangeBogie(DialogExchange& x, VehicleProject& p, int) {
  for (int i = 0; i < kTireCount; ++i) {
    const TireControls& c = kTireControls[i];
    x.Path(c.model, p.tire[i].modelTire, c.model_label);
    x.Float(c.radius, p.tire[i].TireRadius, kRadiusFormat, c.radius_label);
    // A wheel that is drawn needs a size.
    if (!x.Showing() && HasImpossibleRadius(p.tire[i])) x.Refuse(c.radius, WheelRadiusMessage(c.radius_label));
  }
  for (int t = 0; t < kTruckCount; ++t) {
    const TruckControls& c = kTruckControls[t];
    TruckEntry& truck = p.truck[t];
    x.Choice(c.type, BogieTypeChoices(), truck.type);
    x.Float(c.pos, truck.pos, kPositionFormat, c.labels[0]);
    x.Path(c.model, truck.model, c.labels[1]);
    for (int m = 0; m < 3; ++m) {
      TireMount& mount = truck.tirein[m];
      x.Choice(c.mount[m][0], WheelMountChoices(), mount.tireID);
      x.Float(c.mount[m][1], mount.tirePOSX, kPositionFormat, c.labels[2 + 2 * m]);
      x.Float(c.mount[m][2], mount.tirePOSY, kPositionFormat, c.labels[3 + 2 * m]);
    }
  }
}

const BrowseButton kBogieButtons[] = {
    {IDC_TIRE1_BROWSE, IDC_TIRE1_MODEL, BrowseKind::kModel},
    {IDC_TIRE2_BROWSE, IDC_TIRE2_MODEL, BrowseKind::kModel},
    {IDC_TRUCK1_BROWSE, IDC_TRUCK1_MODEL, BrowseKind::kModel},
    {IDC_TRUCK2_BROWSE, IDC_TRUCK2_MODEL, BrowseKind::kModel},
    {IDC_TRUCK3_BROWSE, IDC_TRUCK3_MODEL, BrowseKind::kModel},
};

// A cab's position is one group: no coordinate is stored unless all three
// read, which the dialog's all-or-nothing OK gives.
void ExchangeCab(DialogExchange& x, VehicleProject& p, int) {
  CabEntry& minus = p.untendai[0];
  CabEntry& plus = p.untendai[1];
  x.Flag(IDC_CAB1_ACTIVE, minus.active);
  x.Float(IDC_CAB1_X, minus.posx, kPlainFloat, u"マイナス方向の運転台 x");
  x.Float(IDC_CAB1_Y, minus.posy, kPlainFloat, u"マイナス方向の運転台 y");
  x.Float(IDC_CAB1_Z, minus.posz, kPlainFloat, u"マイナス方向の運転台 z");
  x.Flag(IDC_CAB2_ACTIVE, plus.active);
  x.Float(IDC_CAB2_X, plus.posx, kPlainFloat, u"プラス方向の運転台 x");
  x.Float(IDC_CAB2_Y, plus.posy, kPlainFloat, u"プラス方向の運転台 y");
  x.Float(IDC_CAB2_Z, plus.posz, kPlainFloat, u"プラス方向の運転台 z");
}

struct PantographControls {
  int up, down, startdown;
  const char16_t* up_label;
  const char16_t* down_label;
};

const PantographControls kPantographControls[kPantographCount] = {
    {IDC_PANTA1_UP, IDC_PANTA1_DOWN, IDC_PANTA1_STARTDOWN, u"パンタグラフ1 上昇", u"パンタグラフ1 下降"},
    {IDC_PANTA2_UP, IDC_PANTA2_DOWN, IDC_PANTA2_STARTDOWN, u"パンタグラフ2 上昇", u"パンタグラフ2 下降"},
    {IDC_PANTA3_UP, IDC_PANTA3_DOWN, IDC_PANTA3_STARTDOWN, u"パンタグラフ3 上昇", u"パンタグラフ3 下降"},
    {IDC_PANTA4_UP, IDC_PANTA4_DOWN, IDC_PANTA4_STARTDOWN, u"パンタグラフ4 上昇", u"パンタグラフ4 下降"},
};

void ExchangePantograph(DialogExchange& x, VehicleProject& p, int) {
  for (int i = 0; i < kPantographCount; ++i) {
    const PantographControls& c = kPantographControls[i];
    x.Path(c.up, p.pantograph[i].modelUP, c.up_label);
    x.Path(c.down, p.pantograph[i].modelDOWN, c.down_label);
    x.Flag(c.startdown, p.pantograph[i].startdown);
  }
}

const BrowseButton kPantographButtons[] = {
    {IDC_PANTA1_UP_BROWSE, IDC_PANTA1_UP, BrowseKind::kModel},
    {IDC_PANTA1_DOWN_BROWSE, IDC_PANTA1_DOWN, BrowseKind::kModel},
    {IDC_PANTA2_UP_BROWSE, IDC_PANTA2_UP, BrowseKind::kModel},
    {IDC_PANTA2_DOWN_BROWSE, IDC_PANTA2_DOWN, BrowseKind::kModel},
    {IDC_PANTA3_UP_BROWSE, IDC_PANTA3_UP, BrowseKind::kModel},
    {IDC_PANTA3_DOWN_BROWSE, IDC_PANTA3_DOWN, BrowseKind::kModel},
    {IDC_PANTA4_UP_BROWSE, IDC_PANTA4_UP, BrowseKind::kModel},
    {IDC_PANTA4_DOWN_BROWSE, IDC_PANTA4_DOWN, BrowseKind::kModel},
};

void ExchangeCoupler(DialogExchange& x, VehicleProject& p, int) {
  x.Float(IDC_LINK0, p.link0, kPositionFormat, u"-x側位置");
  x.Float(IDC_LINK1, p.link1, kPositionFormat, u"+x側位置");
}

void ExchangeLight(DialogExchange& x, VehicleProject& p, int) {
  x.Path(IDC_LIGHT_LH0, p.modelLH0, u"ヘッドライト（-x側）");
  x.Path(IDC_LIGHT_LT0, p.modelLT0, u"テールライト（-x側）");
  x.Path(IDC_LIGHT_LH1, p.modelLH1, u"ヘッドライト（+x側）");
  x.Path(IDC_LIGHT_LT1, p.modelLT1, u"テールライト（+x側）");
  x.Path(IDC_LIGHT_IRE, p.modelIRE, u"入換車両標識");
}

const BrowseButton kLightButtons[] = {
    {IDC_LIGHT_LH0_BROWSE, IDC_LIGHT_LH0, BrowseKind::kModel},
    {IDC_LIGHT_LT0_BROWSE, IDC_LIGHT_LT0, BrowseKind::kModel},
    {IDC_LIGHT_LH1_BROWSE, IDC_LIGHT_LH1, BrowseKind::kModel},
    {IDC_LIGHT_LT1_BROWSE, IDC_LIGHT_LT1, BrowseKind::kModel},
    {IDC_LIGHT_IRE_BROWSE, IDC_LIGHT_IRE, BrowseKind::kModel},
};

void ExchangeOption(DialogExchange& x, VehicleProject& p, int page) {
  OptionSet& o = p.optionset[page];
  x.Path(IDC_OPTION_A, o.modelA, u"車体（光沢）");
  x.Path(IDC_OPTION_B, o.modelB, u"車体（つや消し）");
  x.Path(IDC_OPTION_I, o.modelI, u"室内");
  x.Path(IDC_OPTION_H, o.modelH, u"窓");
  x.Path(IDC_OPTION_M, o.modelM, u"方向幕（点灯）");
  x.Path(IDC_OPTION_SA, o.modelSA, u"方向幕（光沢）");
  x.Path(IDC_OPTION_SB, o.modelSB, u"方向幕（つや消し）");
  x.Path(IDC_OPTION_LH0, o.modelLH0, u"ヘッドライト（-x側）");
  x.Path(IDC_OPTION_LT0, o.modelLT0, u"テールライト（-x側）");
  x.Path(IDC_OPTION_LH1, o.modelLH1, u"ヘッドライト（+x側）");
  x.Path(IDC_OPTION_LT1, o.modelLT1, u"テールライト（+x側）");
  x.Path(IDC_OPTION_IRE, o.modelIRE, u"入換車両標識");
  x.Flag(IDC_OPTION_START, o.start);
}

const BrowseButton kOptionButtons[] = {
    {IDC_OPTION_A_BROWSE, IDC_OPTION_A, BrowseKind::kModel},
    {IDC_OPTION_B_BROWSE, IDC_OPTION_B, BrowseKind::kModel},
    {IDC_OPTION_I_BROWSE, IDC_OPTION_I, BrowseKind::kModel},
    {IDC_OPTION_H_BROWSE, IDC_OPTION_H, BrowseKind::kModel},
    {IDC_OPTION_M_BROWSE, IDC_OPTION_M, BrowseKind::kModel},
    {IDC_OPTION_SA_BROWSE, IDC_OPTION_SA, BrowseKind::kModel},
    {IDC_OPTION_SB_BROWSE, IDC_OPTION_SB, BrowseKind::kModel},
    {IDC_OPTION_LH0_BROWSE, IDC_OPTION_LH0, BrowseKind::kModel},
    {IDC_OPTION_LT0_BROWSE, IDC_OPTION_LT0, BrowseKind::kModel},
    {IDC_OPTION_LH1_BROWSE, IDC_OPTION_LH1, BrowseKind::kModel},
    {IDC_OPTION_LT1_BROWSE, IDC_OPTION_LT1, BrowseKind::kModel},
    {IDC_OPTION_IRE_BROWSE, IDC_OPTION_IRE, BrowseKind::kModel},
};

const int kHeadMarkEdits[kHeadMarkCount] = {IDC_SIGN_HM1, IDC_SIGN_HM2, IDC_SIGN_HM3, IDC_SIGN_HM4};
const char16_t* const kHeadMarkLabels[kHeadMarkCount] = {u"ヘッドマーク1", u"ヘッドマーク2", u"ヘッドマーク3",
                                                         u"ヘッドマーク4"};

void ExchangeHeadMark(DialogExchange& x, VehicleProject& p, int) {
  x.CheckedFile(IDC_SIGN_SUBTEX, p, kImageFields[2]);
  x.Path(IDC_SIGN_M, p.modelM, u"方向幕（点灯）");
  x.Path(IDC_SIGN_SA, p.modelSA, u"方向幕（光沢）");
  x.Path(IDC_SIGN_SB, p.modelSB, u"方向幕（つや消し）");
  for (int i = 0; i < kHeadMarkCount; ++i) x.Path(kHeadMarkEdits[i], p.modelHM[i], kHeadMarkLabels[i]);
}

const BrowseButton kHeadMarkButtons[] = {
    {IDC_SIGN_SUBTEX_BROWSE, IDC_SIGN_SUBTEX, BrowseKind::kTexture},
    {IDC_SIGN_M_BROWSE, IDC_SIGN_M, BrowseKind::kModel},
    {IDC_SIGN_SA_BROWSE, IDC_SIGN_SA, BrowseKind::kModel},
    {IDC_SIGN_SB_BROWSE, IDC_SIGN_SB, BrowseKind::kModel},
    {IDC_SIGN_HM1_BROWSE, IDC_SIGN_HM1, BrowseKind::kModel},
    {IDC_SIGN_HM2_BROWSE, IDC_SIGN_HM2, BrowseKind::kModel},
    {IDC_SIGN_HM3_BROWSE, IDC_SIGN_HM3, BrowseKind::kModel},
    {IDC_SIGN_HM4_BROWSE, IDC_SIGN_HM4, BrowseKind::kModel},
};

// Edits of the sounds, in the order of the dialog, with the index of each
// sound among the project's sound fields.
struct SoundControls {
  int edit;
  int field;
};

const SoundControls kSoundControls[] = {
    {IDC_SOUND_BREAK, 1}, {IDC_SOUND_WHISTLE, 0}, {IDC_SOUND_MOTOR1, 2}, {IDC_SOUND_MOTOR2, 3},
    {IDC_SOUND_GAP1, 4},  {IDC_SOUND_GAP2, 5},    {IDC_SOUND_IDLE, 6},   {IDC_SOUND_VVVF, 7},
    {IDC_SOUND_COMP, 8},  {IDC_SOUND_POWER, 9},
};

void ExchangeSound(DialogExchange& x, VehicleProject& p, int) {
  for (const SoundControls& c : kSoundControls) x.CheckedFile(c.edit, p, kSoundFields[c.field]);
}

const BrowseButton kSoundButtons[] = {
    {IDC_SOUND_BREAK_BROWSE, IDC_SOUND_BREAK, BrowseKind::kSound},
    {IDC_SOUND_WHISTLE_BROWSE, IDC_SOUND_WHISTLE, BrowseKind::kSound},
    {IDC_SOUND_MOTOR1_BROWSE, IDC_SOUND_MOTOR1, BrowseKind::kSound},
    {IDC_SOUND_MOTOR2_BROWSE, IDC_SOUND_MOTOR2, BrowseKind::kSound},
    {IDC_SOUND_GAP1_BROWSE, IDC_SOUND_GAP1, BrowseKind::kSound},
    {IDC_SOUND_GAP2_BROWSE, IDC_SOUND_GAP2, BrowseKind::kSound},
    {IDC_SOUND_IDLE_BROWSE, IDC_SOUND_IDLE, BrowseKind::kSound},
    {IDC_SOUND_VVVF_BROWSE, IDC_SOUND_VVVF, BrowseKind::kSound},
    {IDC_SOUND_COMP_BROWSE, IDC_SOUND_COMP, BrowseKind::kSound},
    {IDC_SOUND_POWER_BROWSE, IDC_SOUND_POWER, BrowseKind::kSound},
};

template <size_t N>
constexpr size_t CountOf(const BrowseButton (&)[N]) {
  return N;
}

}  // namespace

const DataDialogLayout kDataDialogs[] = {
    {IDD_BASIC, u"基本設定", ExchangeBasic, kBasicButtons, CountOf(kBasicButtons), 0},
    {IDD_BODY, u"車体", ExchangeBody, kBodyButtons, CountOf(kBodyButtons), 0},
    {IDD_BOGIE, u"台車", ExchangeBogie, kBogieButtons, CountOf(kBogieButtons), 0},
    {IDD_CAB, u"運転台", ExchangeCab, nullptr, 0, 0},
    {IDD_PANTOGRAPH, u"パンタグラフ", ExchangePantograph, kPantographButtons, CountOf(kPantographButtons), 0},
    {IDD_COUPLER, u"連結器", ExchangeCoupler, nullptr, 0, 0},
    {IDD_LIGHT, u"ライト", ExchangeLight, kLightButtons, CountOf(kLightButtons), 0},
    {IDD_OPTION, u"オプション", ExchangeOption, kOptionButtons, CountOf(kOptionButtons), IDC_OPTION_SET},
    {IDD_HEADMARK, u"ヘッドマーク/方向幕", ExchangeHeadMark, kHeadMarkButtons, CountOf(kHeadMarkButtons), 0},
    {IDD_SOUND, u"サウンド", ExchangeSound, kSoundButtons, CountOf(kSoundButtons), 0},
};
const size_t kDataDialogCount = sizeof kDataDialogs / sizeof kDataDialogs[0];

const DataDialogLayout* FindDataDialog(int template_id) {
  for (const DataDialogLayout& layout : kDataDialogs)
    if (layout.template_id == template_id) return &layout;
  return nullptr;
}

const BrowseButton* FindBrowseButton(const DataDialogLayout& layout, int button) {
  for (size_t i = 0; i < layout.button_count; ++i)
    if (layout.buttons[i].button == button) return &layout.buttons[i];
  return nullptr;
}

int DataDialogOfCommand(int command) {
  static const int kCommands[][2] = {
      {IDM_DATA_BASIC, IDD_BASIC},           {IDM_DATA_BODY, IDD_BODY},
      {IDM_DATA_BOGIE, IDD_BOGIE},           {IDM_DATA_CAB, IDD_CAB},
      {IDM_DATA_PANTOGRAPH, IDD_PANTOGRAPH}, {IDM_DATA_COUPLER, IDD_COUPLER},
      {IDM_DATA_LIGHT, IDD_LIGHT},           {IDM_DATA_OPTION, IDD_OPTION},
      {IDM_DATA_HEADMARK, IDD_HEADMARK},     {IDM_DATA_SOUND, IDD_SOUND},
  };
  for (const auto& pair : kCommands)
    if (pair[0] == command) return pair[1];
  return 0;
}
