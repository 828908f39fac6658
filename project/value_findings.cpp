#include "project/value_findings.h"

#include <cmath>
#include <memory>
#include <utility>

#include "project/file_checks.h"
#include "project/project_file.h"
#include "project/project_sections.h"
#include "project/script_characters.h"

namespace {

std::u16string Number(int n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

// The field as the dialogs name it, within its section.
std::u16string FieldLabel(std::u16string_view key) {
  static const std::pair<const char16_t*, const char16_t*> kLabels[] = {
      {u"outpath", u"出力パス"},
      {u"name", u"形式番号"},
      {u"sname", u"形式番号（短縮）"},
      {u"guide", u"説明"},
      {u"series", u"形式名"},
      {u"speed", u"最高速度"},
      {u"huriko", u"振り子角度"},
      {u"zoom", u"OBJ拡大率"},
      {u"link0", u"-x側位置"},
      {u"link1", u"+x側位置"},
      {u"modelA1", u"車体（光沢）1"},
      {u"modelA2", u"車体（光沢）2"},
      {u"modelB1", u"車体（つや消し）1"},
      {u"modelB2", u"車体（つや消し）2"},
      {u"modelA", u"車体（光沢）"},
      {u"modelB", u"車体（つや消し）"},
      {u"modelH", u"窓"},
      {u"modelI", u"室内"},
      {u"modelM", u"方向幕（点灯）"},
      {u"modelSA", u"方向幕（光沢）"},
      {u"modelSB", u"方向幕（つや消し）"},
      {u"modelLH0", u"ヘッドライト（-x側）"},
      {u"modelLT0", u"テールライト（-x側）"},
      {u"modelLH1", u"ヘッドライト（+x側）"},
      {u"modelLT1", u"テールライト（+x側）"},
      {u"modelIRE", u"入換車両標識"},
      {u"modelTire", u"モデル"},
      {u"TireRadius", u"半径"},
      {u"pos", u"位置"},
      {u"model", u"モデル"},
      {u"tirePOSX", u"x"},
      {u"tirePOSY", u"y"},
      {u"modelUP", u"上昇"},
      {u"modelDOWN", u"下降"},
      {u"posx", u"x"},
      {u"posy", u"y"},
      {u"posz", u"z"},
  };
  for (const auto& [k, label] : kLabels)
    if (key == k) return label;
  for (const FileField& f : kImageFields)
    if (key == f.key) return f.label;
  for (const FileField& f : kSoundFields)
    if (key == f.key) return f.label;
  if (key.size() == 8 && key.substr(0, 7) == u"modelHM") return u"ヘッドマーク" + std::u16string(key.substr(7));
  return std::u16string(key);
}

class FindingList {
 public:
  explicit FindingList(std::vector<ValueFinding>& out) : out_(out) {}

  void Add(const FieldScope& scope, std::u16string_view key, ValueProblem problem,
           std::u16string (*message)(std::u16string_view label)) {
    const std::u16string label = scope.label + FieldLabel(key);
    out_.push_back({scope.key + std::u16string(key), label, message(label), problem});
  }

  void Check(const FieldScope& scope, const FieldList& fields) {
    int head_marks = 0;
    for (const FieldRef& f : fields) {
      std::u16string key = f.key;
      if (key == u"modelHM") key += Number(++head_marks);
      if (f.text) {
        const std::u16string_view text = f.Text();
        const size_t bad = FindUnscriptableCharacter(text);
        if (bad == std::u16string_view::npos) continue;
        const std::u16string label = scope.label + FieldLabel(key);
        out_.push_back({scope.key + key, label, UnscriptableMessage(label, text, bad), ValueProblem::kUnscriptable});
      } else if (f.real && !IsPlausibleValue(*f.real)) {
        Add(scope, key, ValueProblem::kOutOfRange, OutOfRangeMessage);
      }
    }
  }

 private:
  std::vector<ValueFinding>& out_;
};

}  // namespace

bool IsPlausibleValue(float value) {
  return std::isfinite(value) && std::fabs(value) <= kLargestPlausibleValue;
}

bool HasImpossibleRadius(const TireEntry& tire) {
  return !tire.modelTire.empty() && IsPlausibleValue(tire.TireRadius) && tire.TireRadius <= 0;
}

std::u16string OutOfRangeMessage(std::u16string_view label) {
  return std::u16string(label) + u"：-100000から100000までの数値を入力してください。";
}

std::u16string WheelRadiusMessage(std::u16string_view label) {
  return std::u16string(label) + u"：モデルのある車輪の半径は0より大きい値を入力してください。";
}

std::u16string TextTooLongMessage(std::u16string_view label, size_t longest) {
  return std::u16string(label) + u"：文字数が多すぎます。\n" + Number(static_cast<int>(longest)) +
         u"文字以内で入力してください。";
}

std::u16string UnscriptableMessage(std::u16string_view label, std::u16string_view text, size_t position) {
  return std::u16string(label) + u"：" + UnscriptableCharacterText(text, position);
}

FieldScope SectionScope(std::u16string_view section, int number, const FieldScope& outer) {
  static const std::pair<const char16_t*, const char16_t*> kRepeated[] = {
      {u"tire", u"車輪"},           {u"truck", u"台車"},       {u"tirein", u"車軸"},
      {u"optionset", u"オプション"}, {u"pantograph", u"パンタグラフ"}, {u"container", u"コンテナ位置"},
  };
  if (section == u"untendai1") return {u"untendai1 ", u"マイナス方向の運転台 "};
  if (section == u"untendai2") return {u"untendai2 ", u"プラス方向の運転台 "};
  for (const auto& [name, label] : kRepeated) {
    if (section == name)
      return {outer.key + name + Number(number) + u" ", outer.label + label + Number(number) + u" "};
  }
  return outer;
}

ValueFinding TooLongFinding(const FieldScope& scope, std::u16string_view key, size_t longest) {
  const std::u16string label = scope.label + FieldLabel(key);
  return {scope.key + std::u16string(key), label, TextTooLongMessage(label, longest), ValueProblem::kTooLong};
}

ValueFinding ReplacedFinding(const FieldScope& scope, std::u16string_view key, std::u16string_view written,
                             std::u16string_view kept) {
  const std::u16string label = scope.label + FieldLabel(key);
  return {scope.key + std::u16string(key), label,
          label + u"：ファイルの値「" + std::u16string(written) + u"」は範囲外のため、" + std::u16string(kept) +
              u"を使います。",
          ValueProblem::kReplaced};
}

std::vector<ValueFinding> FindImpossibleValues(const VehicleProject& original, const ProjectReadReport* read) {
  std::vector<ValueFinding> findings;
  if (read) findings = read->read_findings;
  FindingList list(findings);
  // The section lists hand out writable references: walk a copy.
  auto p = std::make_unique<VehicleProject>(original);
  list.Check({}, InfoheadFields(*p));
  list.Check({}, BodyFields(*p));
  for (int i = 0; i < kTireCount; ++i) {
    const FieldScope scope = SectionScope(u"tire", i + 1);
    list.Check(scope, TireFields(p->tire[i]));
    if (HasImpossibleRadius(p->tire[i]))
      list.Add(scope, u"TireRadius", ValueProblem::kWheelRadius, WheelRadiusMessage);
  }
  for (int i = 0; i < kTruckCount; ++i) {
    const FieldScope scope = SectionScope(u"truck", i + 1);
    list.Check(scope, TruckFields(p->truck[i]));
    for (int m = 0; m < kMountsPerTruck; ++m)
      list.Check(SectionScope(u"tirein", m + 1, scope), MountFields(p->truck[i].tirein[m]));
  }
  list.Check({}, SubmodelFields(*p));
  list.Check({}, LightsetFields(*p));
  for (int i = 0; i < kOptionCount; ++i) list.Check(SectionScope(u"optionset", i + 1), OptionFields(p->optionset[i]));
  for (int i = 0; i < kPantographCount; ++i)
    list.Check(SectionScope(u"pantograph", i + 1), PantographFields(p->pantograph[i]));
  list.Check({}, WavesetFields(*p));
  list.Check(SectionScope(u"untendai1", 0), CabFields(p->untendai[0]));
  list.Check(SectionScope(u"untendai2", 0), CabFields(p->untendai[1]));
  for (int i = 0; i < kContainerCount; ++i)
    list.Check(SectionScope(u"container", i + 1), ContainerFields(p->container[i]));
  return findings;
}
