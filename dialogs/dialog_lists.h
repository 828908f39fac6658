// The entries of the dialogs' drop-down lists and the stored value each
// entry stands for.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "project/value_tables.h"

struct ChoiceList {
  std::vector<std::u16string> items;
  std::vector<int32_t> values;  // one per item
};

// The entry showing `value`, or -1 when no entry stands for it (a value
// from an old file, say): the list then shows no selection.
int ChoiceIndex(const ChoiceList& list, int32_t value);
// The value of entry `index`; `keep` when nothing (or nothing valid) is
// selected, so an unlisted stored value survives.
int32_t ChoiceValue(const ChoiceList& list, int index, int32_t keep);

// Category names in table order; the value is the category id.
const ChoiceList& CategoryChoices();
// "補正なし", "1/160 -> 1/150", "1/150 -> 1/160": values 0, 1, 2.
const ChoiceList& GaugeCorrectionChoices();
// "設定なし" and the bogie types; the entry index is the type.
const ChoiceList& BogieTypeChoices();
// "設定なし", "車輪1", "車輪2": the entry index is the wheel entry.
const ChoiceList& WheelMountChoices();
// "オプション 1" to "オプション 4": values 0 to 3.
const ChoiceList& OptionSetChoices();
// The container types in table order, then "[削除]" for 0 (empty slot).
const ChoiceList& ContainerTypeChoices();
