// The controls of one open dialog as the dialog logic sees them: texts,
// check boxes and drop-down lists by control id. The program implements it
// on a Win32 dialog; tests on a table in memory.
#pragma once
#include <string>
#include <string_view>
#include <vector>

class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual std::u16string Text(int id) = 0;
  // `limit` is the most characters the user may type; 0 leaves it open.
  virtual void SetText(int id, std::u16string_view text, size_t limit) = 0;
  virtual bool Checked(int id) = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  // The selected entry, -1 for none.
  virtual int Selection(int id) = 0;
  virtual void SetChoices(int id, const std::vector<std::u16string>& items, int selection) = 0;
  virtual void SetSelection(int id, int selection) = 0;
  // Puts the keyboard focus on a control (the one a message is about).
  virtual void Focus(int id) = 0;
};
