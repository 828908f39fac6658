// The Win32 side of the dialog logic: controls of a dialog window, message
// boxes owned by a window, and the text conversions between the two.
#pragma once
#include <windows.h>

#include <string>

#include "dialogs/dialog_controls.h"
#include "project/notifier.h"

// UTF-16 both: only the character type differs.
inline const wchar_t* WideText(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string FromWide(const wchar_t* text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

class WindowDialogControls : public DialogControls {
 public:
  explicit WindowDialogControls(HWND dialog) : dialog_(dialog) {}
  std::u16string Text(int id) override;
  void SetText(int id, std::u16string_view text, size_t limit) override;
  bool Checked(int id) override;
  void SetChecked(int id, bool checked) override;
  int Selection(int id) override;
  void SetChoices(int id, const std::vector<std::u16string>& items, int selection) override;
  void SetSelection(int id, int selection) override;
  void Focus(int id) override;

 private:
  HWND dialog_;
};

// Check messages: a message box with the error icon, owned by a window.
class MessageBoxNotifier : public Notifier {
 public:
  explicit MessageBoxNotifier(HWND owner) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  void ShowError(const std::u16string& caption, const std::u16string& message) override;

 private:
  HWND owner_;
};
