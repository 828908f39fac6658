#include "dialogs/dialog_window_win.h"

std::u16string WindowDialogControls::Text(int id) {
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return {};
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void WindowDialogControls::SetText(int id, std::u16string_view text, size_t limit) {
  if (limit) SendDlgItemMessageW(dialog_, id, EM_LIMITTEXT, limit, 0);
  SetDlgItemTextW(dialog_, id, WideText(std::u16string(text)));
}

bool WindowDialogControls::Checked(int id) {
  return IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
}

void WindowDialogControls::SetChecked(int id, bool checked) {
  CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

int WindowDialogControls::Selection(int id) {
  const LRESULT selection = SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0);
  return selection == CB_ERR ? -1 : static_cast<int>(selection);
}

void WindowDialogControls::SetChoices(int id, const std::vector<std::u16string>& items, int selection) {
  SendDlgItemMessageW(dialog_, id, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& item : items)
    SendDlgItemMessageW(dialog_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(item)));
  SetSelection(id, selection);
}

void WindowDialogControls::SetSelection(int id, int selection) {
  SendDlgItemMessageW(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

void WindowDialogControls::Focus(int id) {
  HWND control = GetDlgItem(dialog_, id);
  if (!control) return;
  SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  SendMessageW(control, EM_SETSEL, 0, -1);
}

void MessageBoxNotifier::ShowError(const std::u16string& caption, const std::u16string& message) {
  MessageBoxW(owner_, WideText(message), WideText(caption), MB_OK | MB_ICONERROR);
}
