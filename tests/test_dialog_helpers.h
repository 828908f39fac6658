// A dialog's controls kept in memory, as a person would leave them.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "dialogs/dialog_controls.h"

namespace testing_dialogs {

struct FakeControls : DialogControls {
  std::map<int, std::u16string> texts;
  std::map<int, size_t> limits;
  std::map<int, bool> checks;
  std::map<int, std::vector<std::u16string>> items;
  std::map<int, int> selections;
  int focused = 0;

  std::u16string Text(int id) override { return texts[id]; }
  void SetText(int id, std::u16string_view text, size_t limit) override {
    texts[id] = std::u16string(text);
    limits[id] = limit;
  }
  bool Checked(int id) override { return checks[id]; }
  void SetChecked(int id, bool checked) override { checks[id] = checked; }
  int Selection(int id) override {
    auto it = selections.find(id);
    return it == selections.end() ? -1 : it->second;
  }
  void SetChoices(int id, const std::vector<std::u16string>& list, int selection) override {
    items[id] = list;
    selections[id] = selection;
  }
  void SetSelection(int id, int selection) override { selections[id] = selection; }
  void Focus(int id) override { focused = id; }
};

}  // namespace testing_dialogs
