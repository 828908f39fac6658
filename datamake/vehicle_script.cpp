#include "datamake/vehicle_script.h"

#include "platform/files.h"
#include "platform/sjis.h"
#include "project/file_checks.h"
#include "project/number_text.h"
#include "project/script_characters.h"
#include "project/value_tables.h"

namespace {

std::u16string Widen(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Numbered(const char16_t* group, int number, const char16_t* key = nullptr) {
  std::u16string label = group + Widen(std::to_string(number));
  if (key) label += std::u16string(u" ") + key;
  return label;
}

// Collects the script as UTF-16; after the first problem it only keeps
// quiet, so the user sees one message.
class ScriptWriter {
 public:
  explicit ScriptWriter(Notifier& notifier) : notifier_(notifier) {}

  ScriptWriter& operator<<(std::u16string_view fixed) {
    text_ += fixed;
    for (char16_t c : fixed) newlines_ += c == u'\n';
    return *this;
  }
  ScriptWriter& operator<<(float value) { return *this << Widen(FormatFloat(value)); }
  ScriptWriter& operator<<(int32_t value) { return *this << Widen(FormatInt(value)); }

  // A project text between the format's quotes: nothing in it may end the
  // quote or the line, and every character must have a Shift-JIS form.
  ScriptWriter& Text(std::u16string_view label, std::u16string_view text) {
    const size_t bad = FindUnscriptableCharacter(text);
    if (bad != std::u16string_view::npos) return Refuse(label, text, bad);
    return *this << text;
  }

  // A project file on the current line: written like Text, and remembered
  // under its key so a message from this line can name it.
  ScriptWriter& File(std::u16string_view label, std::u16string key, const PathText& path) {
    if (lines_.size() <= newlines_) lines_.resize(newlines_ + 1);
    lines_[newlines_].push_back({std::move(key), path.str()});
    return Text(label, path.view());
  }

  void Fail(const char16_t* message) {
    if (!failed_) notifier_.ShowError(kCheckCaption, message);
    failed_ = true;
  }
  bool failed() const { return failed_; }
  const std::u16string& text() const { return text_; }
  ScriptLineMap& lines() { return lines_; }

 private:
  ScriptWriter& Refuse(std::u16string_view label, std::u16string_view text, size_t position) {
    Fail((std::u16string(label) + u"：" + UnscriptableCharacterText(text, position)).c_str());
    return *this;
  }

  Notifier& notifier_;
  std::u16string text_;
  size_t newlines_ = 0;
  ScriptLineMap lines_;
  bool failed_ = false;
};

void WriteSettings(const VehicleProject& p, ScriptWriter& w) {
  w << u"BeginSetting\r\n";
  w << u"連結器\t" << p.link0 << u"\t" << p.link1 << u"\r\n";
  for (int i = 0; i < kTruckCount; ++i) {
    const TruckEntry& t = p.truck[i];
    if (t.type == 0) continue;
    const char16_t* type_name = FindValueName(BogieTypeTable, t.type);
    if (!type_name) return w.Fail(u"台車の種類が対応していません。");
    w << u"台車\t" << int32_t{i} << u"\t" << t.pos << u"\t" << type_name << u"\r\n";
  }
  w << u"速度\t" << p.speed << u"\r\n";
  const CabEntry& minus = p.untendai[0];
  if (minus.active)
    w << u"運転台\t" << minus.posx << u"\t" << minus.posy << u"\t" << minus.posz << u"\t\t-1.0\r\n";
  const CabEntry& plus = p.untendai[1];
  if (plus.active)
    w << u"運転台\t" << plus.posx << u"\t" << plus.posy << u"\t" << plus.posz << u"\t\t1.0\r\n";
  if (p.tilt_angle > 0) w << u"振り子\t" << p.tilt_angle << u"\t" << int32_t{p.fixhuriko != 0 ? 1 : 0} << u"\r\n";
  for (const ContainerSlot& s : p.container) {
    if (s.type == 0) continue;
    w << u"コンテナ位置\t" << s.type << u"\t" << s.posx << u" " << s.posy << u" " << s.posz << u"\r\n";
  }
  w << u"EndSetting\r\n\r\n\r\n";
}

void WriteModelLine(ScriptWriter& w, const char16_t* command, std::u16string_view label,
                    std::u16string key, const PathText& model) {
  if (model.empty()) return;
  w << command << u"\t\"";
  w.File(label, std::move(key), model) << u"\"\r\n";
}

void WriteOptions(const VehicleProject& p, ScriptWriter& w) {
  static const struct {
    const char16_t* word;
    const char16_t* key;
    PathText OptionSet::*field;
  } kParts[] = {
      {u"A", u"modelA", &OptionSet::modelA},       {u"B", u"modelB", &OptionSet::modelB},
      {u"H", u"modelH", &OptionSet::modelH},       {u"I", u"modelI", &OptionSet::modelI},
      {u"SIGN", u"modelM", &OptionSet::modelM},    {u"NUMA", u"modelSA", &OptionSet::modelSA},
      {u"NUMB", u"modelSB", &OptionSet::modelSB},  {u"HLM", u"modelLH0", &OptionSet::modelLH0},
      {u"HLP", u"modelLH1", &OptionSet::modelLH1}, {u"TLM", u"modelLT0", &OptionSet::modelLT0},
      {u"TLP", u"modelLT1", &OptionSet::modelLT1}, {u"IRE", u"modelIRE", &OptionSet::modelIRE},
  };
  for (int32_t n = 1; n <= kOptionCount; ++n) {
    const OptionSet& o = p.optionset[n - 1];
    for (const auto& part : kParts) {
      const PathText& model = o.*part.field;
      if (model.empty()) continue;
      w << u"3DOPTION2\t" << n << u"\t" << part.word << u"\t\"";
      w.File(Numbered(u"オプション", n, part.key), Numbered(u"optionset", n, part.key), model) << u"\"\r\n";
    }
  }
  for (int32_t n = 1; n <= kOptionCount; ++n)
    if (p.optionset[n - 1].start) w << u"OPTIONINIT\t" << n << u"\r\n";
}

void WriteBogieModels(const VehicleProject& p, ScriptWriter& w) {
  for (int32_t i = 0; i < kTruckCount; ++i) {
    const TruckEntry& t = p.truck[i];
    if (t.type == 0 || t.model.empty()) continue;
    w << u"3D台車枠\t" << i << u"\t\"";
    w.File(Numbered(u"台車", i + 1, u"model"), Numbered(u"truck", i + 1, u"model"), t.model) << u"\"\r\n";
  }
  for (int32_t i = 0; i < kTireCount; ++i) {
    const TireEntry& t = p.tire[i];
    if (t.modelTire.empty()) continue;
    w << u"3D車輪\t" << i << u"\t" << t.TireRadius << u"\t\"";
    w.File(Numbered(u"車輪", i + 1, u"modelTire"), Numbered(u"tire", i + 1, u"modelTire"), t.modelTire)
        << u"\"\r\n";
  }
  for (int32_t i = 0; i < kTruckCount; ++i) {
    const TruckEntry& t = p.truck[i];
    if (t.type == 0) continue;
    if (!t.model.empty()) w << u"台車構造枠\t" << i << u"\t" << i << u"\r\n";
    for (const TireMount& m : t.tirein) {
      if (m.tireID == 0) continue;
      w << u"台車構造車輪\t" << i << u"\t" << int32_t(m.tireID - 1) << u"\t" << m.tirePOSX << u"\t"
        << m.tirePOSY << u"\r\n";
    }
  }
}

void WriteModels(const VehicleProject& p, MainTextureSize texture, ScriptWriter& w) {
  w << u"BeginModel\r\n";
  w << u"PNGTEXMAIN\t\"";
  w.File(kImageFields[0].label, kImageFields[0].key, p.maintex) << u"\"\r\n";
  if (!p.subtex.empty()) {
    w << u"PNGTEXSIGN\t\"";
    w.File(kImageFields[2].label, kImageFields[2].key, p.subtex) << u"\"\r\n";
  }
  w << u"テクスチャーINFO\t24\t0,0,0\t" << static_cast<int32_t>(texture.width) << u"\t"
    << static_cast<int32_t>(texture.height) << u"\r\n";
  WriteModelLine(w, u"3D本体", u"車体 modelA1", u"modelA1", p.modelA1);
  WriteModelLine(w, u"3D本体", u"車体 modelA2", u"modelA2", p.modelA2);
  WriteModelLine(w, u"3D屋根", u"車体 modelB1", u"modelB1", p.modelB1);
  WriteModelLine(w, u"3D屋根", u"車体 modelB2", u"modelB2", p.modelB2);
  WriteModelLine(w, u"3D熱線窓", u"車体 modelH", u"modelH", p.modelH);
  WriteModelLine(w, u"3D車内", u"車体 modelI", u"modelI", p.modelI);
  WriteModelLine(w, u"3Dヘッドライト\t-1.0", u"ライト modelLH0", u"modelLH0", p.modelLH0);
  WriteModelLine(w, u"3Dテールライト\t-1.0", u"ライト modelLT0", u"modelLT0", p.modelLT0);
  WriteModelLine(w, u"3Dヘッドライト\t1.0", u"ライト modelLH1", u"modelLH1", p.modelLH1);
  WriteModelLine(w, u"3Dテールライト\t1.0", u"ライト modelLT1", u"modelLT1", p.modelLT1);
  WriteModelLine(w, u"3D入換ライト", u"ライト modelIRE", u"modelIRE", p.modelIRE);
  int32_t pantographs = 0;  // counted, whatever slot they sit in
  for (int i = 0; i < kPantographCount; ++i) {
    const PantographEntry& e = p.pantograph[i];
    if (e.modelDOWN.empty() || e.modelUP.empty()) continue;
    w << u"3Dパンタ\t\"";
    w.File(Numbered(u"パンタグラフ", i + 1, u"modelUP"), Numbered(u"pantograph", i + 1, u"modelUP"), e.modelUP)
        << u"\"\t\"";
    w.File(Numbered(u"パンタグラフ", i + 1, u"modelDOWN"), Numbered(u"pantograph", i + 1, u"modelDOWN"),
           e.modelDOWN)
        << u"\"\r\n";
    w << u"PANTAINIT\t" << pantographs++ << u"\t" << int32_t{e.startdown == 0 ? 1 : 0} << u"\r\n";
  }
  WriteModelLine(w, u"3D字幕点灯", u"方向幕 modelM", u"modelM", p.modelM);
  WriteModelLine(w, u"3D字幕サボ", u"方向幕 modelSA", u"modelSA", p.modelSA);
  WriteModelLine(w, u"3D字幕サボ2", u"方向幕 modelSB", u"modelSB", p.modelSB);
  for (int i = 0; i < kHeadMarkCount; ++i)
    WriteModelLine(w, u"3Dヘッドマーク", Numbered(u"ヘッドマーク", i + 1), Numbered(u"modelHM", i + 1), p.modelHM[i]);
  WriteOptions(p, w);
  WriteBogieModels(p, w);
  w << u"EndModel\r\n\r\n\r\n";
}

}  // namespace

bool BuildVehicleScript(const VehicleProject& p, MainTextureSize texture, std::string& script,
                        Notifier& notifier, ScriptLineMap* lines) {
  ScriptWriter w(notifier);
  w << u"//Z5 Bogwright\r\n";
  w << u"出力パス \"";
  w.Text(u"出力パス", p.outpath.view()) << u"\\\" \r\n";
  w << u"拡大補正 " << p.zoom << u"\r\n\r\n";
  if (p.teczoom == 1) w << u"TEC\t1.06667\r\n\r\n";
  if (p.teczoom == 2) w << u"TEC\t0.9375\r\n\r\n";
  w << u"UpperV\t" << p.texture_v_up << u"\r\n";
  w << u"ChangeLR\t" << p.changelr << u"\r\n";
  if (p.obj_smoothing) w << u"ObjReadSmooth\r\n";
  if (p.objflatrev) w << u"ObjFlatReverse\r\n";

  w << u"BeginHeader\r\nSECTION\r\nID\t9999\r\n";
  w << u"形式\t32000\t\"";
  w.Text(u"形式名", p.series.view()) << u"\"\tUSER\r\n";
  const int category = FindCategory(p.category);
  if (category == -1) w.Fail(u"カテゴリーが対応していません。");
  if (w.failed()) return false;
  w << u"TYPE\t" << CategoryTable[category].name << u"\r\n";
  w << u"名称\t\"";
  w.Text(u"形式番号", p.name.view()) << u"\"\r\n";
  w << u"短縮名\t\"";
  w.Text(u"形式番号（短縮）", p.sname.view()) << u"\"\r\n";
  w << u"COPYRIGHT\t\"";
  w.Text(u"工房名", p.maker.view()) << u"\"\t\"";
  w.Text(u"説明", p.guide.view()) << u"\"\r\n";
  w << u"EndHeader\r\n\r\n\r\n";

  WriteSettings(p, w);

  w << u"BeginSound\r\n";
  for (const FileField& sound : kSoundFields) {
    const PathText& path = p.*sound.member;
    if (path.empty()) continue;
    w << sound.command << u"\t\"";
    w.File(sound.label, sound.key, path) << u"\"\r\n";
  }
  w << u"EndSound\r\n\r\n\r\n";

  w << u"BeginRes\r\n形式CG\t\"";
  w.File(kImageFields[1].label, kImageFields[1].key, p.sideview) << u"\"\r\n";
  w << u"EndRes\r\n\r\n\r\n";

  WriteModels(p, texture, w);
  if (w.failed()) return false;
  if (lines) *lines = std::move(w.lines());
  // Every project text has been checked, so the conversion cannot fail.
  return Utf16ToSjis(w.text(), script);
}
