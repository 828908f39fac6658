#include "dialogs/data_dialog_win.h"

#include <memory>

#include "dialogs/data_dialog_session.h"
#include "dialogs/dialog_window_win.h"
#include "dialogs/file_choosers_win.h"

namespace {

// What one open dialog keeps; it lives on the caller's stack.
struct DataDialogState {
  const DataDialogLayout& layout;
  VehicleProject& project;
  std::unique_ptr<WindowDialogControls> controls;
  std::unique_ptr<MessageBoxNotifier> notifier;
  std::unique_ptr<DataDialogSession> session;
};

void Browse(HWND dialog, DataDialogSession& session, const BrowseButton& button) {
  std::u16string path;
  const ChooserResult result =
      button.kind == BrowseKind::kFolder ? ChooseFolder(dialog, path) : ChooseFile(dialog, button.kind, path);
  if (result == ChooserResult::kChosen) session.PutChosenPath(button, path);
  if (result == ChooserResult::kTooLong) session.RefuseLongPath(button);
}

INT_PTR CALLBACK DataDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<DataDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<DataDialogState*>(lparam);
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      state->controls = std::make_unique<WindowDialogControls>(dialog);
      state->notifier = std::make_unique<MessageBoxNotifier>(dialog);
      state->session = std::make_unique<DataDialogSession>(state->layout, state->project, *state->controls,
                                                           *state->notifier);
      state->session->Show();
      return TRUE;
    }
    case WM_COMMAND: {
      if (!state || !state->session) return FALSE;
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (id == IDOK) {
        if (state->session->Ok()) EndDialog(dialog, 1);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (state->layout.page_list && id == state->layout.page_list) {
        if (code == CBN_SELCHANGE) state->session->ChangePage(state->controls->Selection(id));
        return TRUE;
      }
      if (const BrowseButton* button = FindBrowseButton(state->layout, id)) {
        if (code == BN_CLICKED) Browse(dialog, *state->session, *button);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int OpenDataDialog(HINSTANCE instance, HWND owner, int template_id, VehicleProject& project) {
  const DataDialogLayout* layout = FindDataDialog(template_id);
  if (!layout) return 0;
  DataDialogState state{*layout, project, nullptr, nullptr, nullptr};
  const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(template_id), owner, DataDialogProc,
                                         reinterpret_cast<LPARAM>(&state));
  return result == 1 ? 1 : 0;
}
