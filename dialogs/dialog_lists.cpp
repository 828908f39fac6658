#include "dialogs/dialog_lists.h"

namespace {

// The named rows of a value table, optionally after a first entry of value 0.
ChoiceList FromTable(const ValueName* table, const char16_t* none_first) {
  ChoiceList list;
  if (none_first) {
    list.items.emplace_back(none_first);
    list.values.push_back(0);
  }
  for (; table->id != 0; ++table) {
    list.items.emplace_back(table->name);
    list.values.push_back(table->id);
  }
  return list;
}

ChoiceList Numbered(std::initializer_list<const char16_t*> items) {
  ChoiceList list;
  int32_t value = 0;
  for (const char16_t* item : items) {
    list.items.emplace_back(item);
    list.values.push_back(value++);
  }
  return list;
}

}  // namespace

int ChoiceIndex(const ChoiceList& list, int32_t value) {
  for (size_t i = 0; i < list.values.size(); ++i)
    if (list.values[i] == value) return static_cast<int>(i);
  return -1;
}

int32_t ChoiceValue(const ChoiceList& list, int index, int32_t keep) {
  if (index < 0 || static_cast<size_t>(index) >= list.values.size()) return keep;
  return list.values[static_cast<size_t>(index)];
}

const ChoiceList& CategoryChoices() {
  static const ChoiceList list = FromTable(CategoryTable, nullptr);
  return list;
}

const ChoiceList& GaugeCorrectionChoices() {
  static const ChoiceList list = Numbered({u"補正なし", u"1/160 -> 1/150", u"1/150 -> 1/160"});
  return list;
}

const ChoiceList& BogieTypeChoices() {
  static const ChoiceList list = FromTable(BogieTypeTable, u"設定なし");
  return list;
}

const ChoiceList& WheelMountChoices() {
  static const ChoiceList list = Numbered({u"設定なし", u"車輪1", u"車輪2"});
  return list;
}

const ChoiceList& OptionSetChoices() {
  static const ChoiceList list =
      Numbered({u"オプション 1", u"オプション 2", u"オプション 3", u"オプション 4"});
  return list;
}

const ChoiceList& ContainerTypeChoices() {
  static const ChoiceList list = [] {
    ChoiceList l = FromTable(ContainerTypeTable, nullptr);
    l.items.emplace_back(u"[削除]");
    l.values.push_back(0);
    return l;
  }();
  return list;
}
