#include "dialogs/dialog_exchange.h"

#include "dialogs/dialog_messages.h"
#include "dialogs/dialog_numbers.h"
#include "project/script_characters.h"
#include "project/value_findings.h"

void DialogExchange::Problem(int id, std::u16string message) {
  if (Failed()) return;  // the first problem is the one shown
  problem_control_ = id;
  problem_message_ = std::move(message);
}

bool DialogExchange::Scriptable(int id, const char16_t* label, const std::u16string& text) {
  const size_t bad = FindUnscriptableCharacter(text);
  if (bad == std::u16string::npos) return true;
  Problem(id, UnscriptableMessage(label, text, bad));
  return false;
}

bool DialogExchange::ReadText(int id, const char16_t* label, size_t longest, std::u16string& text) {
  text = controls_.Text(id);
  if (text.size() <= longest) return Scriptable(id, label, text);
  Problem(id, TextTooLongMessage(label, longest));
  return false;
}

bool DialogExchange::ReadPath(int id, const char16_t* label, std::u16string& text) {
  text = controls_.Text(id);
  if (text.size() < kPathCapacity) return Scriptable(id, label, text);
  Problem(id, PathTooLongMessage(label));
  return false;
}

void DialogExchange::Path(int id, PathText& field, const char16_t* label) {
  if (Showing()) {
    controls_.SetText(id, field.view(), kPathCapacity - 1);
    return;
  }
  std::u16string text;
  if (ReadPath(id, label, text)) field.Set(text);
}

void DialogExchange::OutputFolder(int id, VehicleProject& p, const char16_t* label) {
  if (Showing()) {
    controls_.SetText(id, p.outpath.view(), kPathCapacity - 1);
    return;
  }
  std::u16string text;
  if (ReadPath(id, label, text)) SetOutPath(p, text);
}

void DialogExchange::CheckedFile(int id, VehicleProject& p, const FileField& field) {
  if (Showing()) {
    controls_.SetText(id, (p.*field.member).view(), kPathCapacity - 1);
    return;
  }
  std::u16string text;
  if (ReadPath(id, field.label, text)) files_.push_back({&field, std::move(text)});
}

void DialogExchange::Int(int id, int32_t& field, int32_t low, int32_t high, const char16_t* label) {
  if (Showing()) {
    controls_.SetText(id, FormatDialogInt(field), 0);
    return;
  }
  int32_t value = 0;
  if (ReadDialogInt(controls_.Text(id), value) && value >= low && value <= high) {
    field = value;
  } else {
    Problem(id, IntegerRangeMessage(label, low, high));
  }
}

void DialogExchange::Float(int id, float& field, FloatFormat format, const char16_t* label) {
  if (Showing()) {
    controls_.SetText(id, FormatDialogFloat(field, format.width, format.decimals), 0);
    return;
  }
  if (!ReadDialogFloat(controls_.Text(id), field)) {
    Problem(id, NumberMessage(label));
  } else if (!IsPlausibleValue(field)) {
    Problem(id, OutOfRangeMessage(label));
  }
}

void DialogExchange::Flag(int id, int32_t& flag, bool checked_means_off) {
  if (Showing()) {
    controls_.SetChecked(id, (flag != 0) != checked_means_off);
    return;
  }
  const bool checked = controls_.Checked(id);
  flag = checked != checked_means_off ? 1 : 0;
}

void DialogExchange::Choice(int id, const ChoiceList& list, int32_t& value) {
  if (Showing()) {
    controls_.SetChoices(id, list.items, ChoiceIndex(list, value));
    return;
  }
  value = ChoiceValue(list, controls_.Selection(id), value);
}
