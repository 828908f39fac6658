// The container places: a list view of the used slots (template 143) and
// the dialog of one slot (template 144).
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <memory>

#include "dialogs/container_dialogs.h"
#include "dialogs/data_dialog_win.h"
#include "dialogs/dialog_window_win.h"
#include "res/dialog_ids.h"

namespace {

struct SlotDialogState {
  VehicleProject& working;
  int slot;
  std::unique_ptr<WindowDialogControls> controls;
  std::unique_ptr<MessageBoxNotifier> notifier;
  std::unique_ptr<ContainerSlotSession> session;
};

INT_PTR CALLBACK SlotDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<SlotDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    state = reinterpret_cast<SlotDialogState*>(lparam);
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    state->controls = std::make_unique<WindowDialogControls>(dialog);
    state->notifier = std::make_unique<MessageBoxNotifier>(dialog);
    state->session = std::make_unique<ContainerSlotSession>(state->working, state->slot, *state->controls,
                                                            *state->notifier);
    state->session->Show();
    return TRUE;
  }
  if (message != WM_COMMAND || !state || !state->session) return FALSE;
  if (LOWORD(wparam) == IDOK) {
    if (state->session->Ok()) EndDialog(dialog, 1);
    return TRUE;
  }
  if (LOWORD(wparam) == IDCANCEL) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

// 1 after OK, 0 after Cancel.
int OpenSlotDialog(HWND owner, VehicleProject& working, int slot) {
  SlotDialogState state{working, slot, nullptr, nullptr, nullptr};
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_CONTAINER_SLOT), owner, SlotDialogProc,
                         reinterpret_cast<LPARAM>(&state)) == 1
             ? 1
             : 0;
}

struct ListDialogState {
  VehicleProject& project;
  std::unique_ptr<MessageBoxNotifier> notifier;
  std::unique_ptr<ContainerListSession> session;
};

HWND ListOf(HWND dialog) {
  return GetDlgItem(dialog, IDC_CONTAINER_LIST);
}

// Writes a row's cells into list item `item`.
void SetRowCells(HWND list, int item, const ContainerRow& row) {
  for (int column = 0; column < 4; ++column) {
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(WideText(row.cells[static_cast<size_t>(column)]));
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
  }
}

int AppendRow(HWND list, const ContainerRow& row) {
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.lParam = row.slot;  // rows find their slot by this, never by position
  const int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (index >= 0) SetRowCells(list, index, row);
  return index;
}

int SlotOfRow(HWND list, int item) {
  LVITEMW lv = {};
  lv.mask = LVIF_PARAM;
  lv.iItem = item;
  if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv))) return -1;
  return static_cast<int>(lv.lParam);
}

// After the slot dialog: the row shows the slot again, or goes when the
// slot is empty.
void RefreshRow(HWND list, int item, const VehicleProject& working, int slot) {
  if (working.container[slot].type == 0) {
    SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(item), 0);
  } else {
    SetRowCells(list, item, ContainerRowOf(working, slot));
  }
}

void InitList(HWND dialog, const VehicleProject& working) {
  HWND list = ListOf(dialog);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const wchar_t* const titles[4] = {L"種類", L"x", L"y", L"z"};
  RECT client = {};
  GetClientRect(list, &client);
  const int number_width = (client.right - client.left) / 6;
  for (int column = 0; column < 4; ++column) {
    LVCOLUMNW c = {};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    c.fmt = column == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    c.cx = column == 0 ? (client.right - client.left) - 3 * number_width - 4 : number_width;
    c.pszText = const_cast<wchar_t*>(titles[column]);
    c.iSubItem = column;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
  }
  for (const ContainerRow& row : ContainerRows(working)) AppendRow(list, row);
}

void AddSlot(HWND dialog, ListDialogState& state) {
  const int slot = state.session->Add();
  if (slot < 0) return;
  HWND list = ListOf(dialog);
  const int item = AppendRow(list, ContainerRowOf(state.session->Working(), slot));
  if (OpenSlotDialog(dialog, state.session->Working(), slot)) {
    RefreshRow(list, item, state.session->Working(), slot);
  } else {
    state.session->DropNew(slot);
    SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(item), 0);
  }
}

void EditRow(HWND dialog, ListDialogState& state, int item) {
  HWND list = ListOf(dialog);
  const int slot = SlotOfRow(list, item);
  if (slot < 0 || slot >= kContainerCount) return;
  if (OpenSlotDialog(dialog, state.session->Working(), slot))
    RefreshRow(list, item, state.session->Working(), slot);
}

INT_PTR CALLBACK ListDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<ListDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      state = reinterpret_cast<ListDialogState*>(lparam);
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      state->notifier = std::make_unique<MessageBoxNotifier>(dialog);
      state->session = std::make_unique<ContainerListSession>(state->project, *state->notifier);
      InitList(dialog, state->session->Working());
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (!state || !state->session || header->idFrom != IDC_CONTAINER_LIST) return FALSE;
      if (header->code == NM_DBLCLK) {
        const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(lparam);
        if (activate->iItem >= 0) EditRow(dialog, *state, activate->iItem);
        return TRUE;
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (!state || !state->session) return FALSE;
      switch (LOWORD(wparam)) {
        case IDOK:
          state->session->Commit();
          EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:  // Esc or the close box: nothing is kept
          EndDialog(dialog, 0);
          return TRUE;
        case IDC_CONTAINER_ADD:
          if (HIWORD(wparam) == BN_CLICKED) AddSlot(dialog, *state);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int OpenContainerDialog(HINSTANCE instance, HWND owner, VehicleProject& project) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  ListDialogState state{project, nullptr, nullptr};
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_CONTAINER_LIST), owner, ListDialogProc,
                         reinterpret_cast<LPARAM>(&state)) == 1
             ? 1
             : 0;
}
