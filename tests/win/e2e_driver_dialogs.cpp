// The driver's steps on the program's dialogs, message boxes and file
// dialogs, worked as a person would. Dialogs and message boxes are found by
// their caption among the program's own windows (any process's but the
// driver's before the main window is there; ">X" names the window that the
// window captioned X owns, for system dialogs whose caption is in the
// system's language); texts are compared exactly, or up to a final "…".
//
//   command ID                     menu command ID to the main window, once
//                                  no window of the program but it is shown
//   wait-dialog CAPTION [MS]       a window with the caption appears (30 s)
//   wait-gone CAPTION              no window with the caption is left (30 s)
//   set-text CAPTION ID TEXT       types TEXT into control ID
//   expect-text CAPTION ID TEXT
//   save-text CAPTION ID FILE      control ID's text written to FILE (UTF-8)
//   select CAPTION ID INDEX        picks an entry of a drop-down list
//   expect-selection CAPTION ID INDEX
//   expect-items CAPTION ID ITEM...  the list's entries, in order
//   check CAPTION ID 0|1           sets a check box
//   expect-check CAPTION ID 0|1
//   expect-enabled CAPTION ID 0|1
//   press CAPTION ID               clicks a button (1 OK, 2 Cancel, 6 Yes, 7 No)
//   expect-message CAPTION TEXT [BUTTON]  a message box says TEXT; BUTTON
//                                  (default 1) closes it
//   choose-file TITLE PATH         names PATH in a file dialog and confirms
//   expect-rows CAPTION ID ROW...  the list view's rows, cells joined by "|"
//   expect-centred CAPTION         the window stands centred on the main window
//   expect-columns CAPTION ID TEXT the list view's column titles, joined by "|"
//   expect-row-count CAPTION ID N  the list view has N rows
//   dblclick-row CAPTION ID ROW    double-clicks a list view row
//   capture CAPTION PNG            saves the window's picture as PNG
//   drop PATH                      drops a file on the main window
//   close-window                   the main window's close box (WM_CLOSE)
//   expect-running 0|1             the main window exists (60 s) or not (30 s)
//   press-key VK [ctrl]            a key pressed on the main window, with Ctrl held
#include <windows.h>
// clang-format off
#include <commctrl.h>
#include <shlobj.h>
// clang-format on

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/win/e2e_support.h"

namespace {

// A busy machine (a build beside the run) can slow the program to a frame a
// second: a step waits this long for what it expects before it fails.
constexpr DWORD kWaitMs = 30000;

struct FindRequest {
  DWORD pid;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM lparam) {
  auto* request = reinterpret_cast<FindRequest*>(lparam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  const bool program = request->pid ? pid == request->pid : pid != GetCurrentProcessId();
  if (!program || !IsWindowVisible(window)) return TRUE;
  const bool owned = request->caption[0] == L'>';
  HWND named = owned ? GetWindow(window, GW_OWNER) : window;
  // A caption is the system's copy of the text: no message to a program
  // that may be busy starting or saving.
  wchar_t caption[256] = {};
  if (named) GetWindowTextW(named, caption, 256);
  if (named && wcscmp(caption, request->caption + (owned ? 1 : 0)) == 0) {
    request->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindCaption(const wchar_t* caption) {
  FindRequest request{ProgramProcess(), caption, nullptr};
  EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&request));
  return request.found;
}

HWND WaitCaption(const wchar_t* caption, DWORD bound_ms = kWaitMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < bound_ms) {
    if (HWND window = FindCaption(caption)) {
      Sleep(150);  // let it finish its first painting
      return window;
    }
    Sleep(50);
  }
  return nullptr;
}

int WaitGone(const wchar_t* caption) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kWaitMs) {
    if (!FindCaption(caption)) return 0;
    Sleep(50);
  }
  return TimedOut(L"\"%ls\" is still open", caption);
}

// The dialog with the caption and its control; false when either is missing.
bool Control(const wchar_t* caption, int id, HWND& dialog, HWND& control) {
  dialog = WaitCaption(caption);
  control = dialog ? GetDlgItem(dialog, id) : nullptr;
  return control != nullptr;
}

// A missing window is a step that timed out, a missing control a wrong dialog.
int NoControl(const wchar_t* caption, int id) {
  if (!FindCaption(caption)) return TimedOut(L"no window \"%ls\"", caption);
  return Fail(L"no control %ls", std::wstring(caption) + L" #" + std::to_wstring(id));
}

// Equal, or starting with `expected` less its final "…".
bool Matches(const std::wstring& got, const std::wstring& expected) {
  if (!expected.empty() && expected.back() == L'…') return got.rfind(expected.substr(0, expected.size() - 1), 0) == 0;
  return got == expected;
}

int Expect(const std::wstring& what, const std::wstring& got, const std::wstring& expected) {
  if (Matches(got, expected)) return 0;
  return Fail(L"%ls", what + L": got \"" + got + L"\", expected \"" + expected + L"\"");
}

// Asks `read` until it gives `expected` (the program may still be busy
// with the last action) or two seconds have passed.
template <typename Read>
int ExpectSoon(const std::wstring& what, Read read, const std::wstring& expected) {
  const DWORD start = GetTickCount();
  std::wstring got = read();
  while (!Matches(got, expected) && GetTickCount() - start < 2000) {
    Sleep(50);
    got = read();
  }
  return Expect(what, got, expected);
}

int SetText(const wchar_t* caption, int id, const wchar_t* text) {
  HWND dialog, control;
  if (!Control(caption, id, dialog, control)) return NoControl(caption, id);
  Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  return 0;
}

int ExpectText(const wchar_t* caption, int id, const wchar_t* text) {
  HWND dialog, control;
  if (!Control(caption, id, dialog, control)) return NoControl(caption, id);
  return ExpectSoon(
      L"text of #" + std::to_wstring(id), [&] { return WindowText(control); }, text);
}

int SaveText(const wchar_t* caption, int id, const wchar_t* file) {
  HWND dialog, control;
  if (!Control(caption, id, dialog, control)) return NoControl(caption, id);
  return WriteUtf8(file, WindowText(control)) ? 0 : Fail(L"could not write %ls", file);
}

int Select(const wchar_t* caption, int id, int index) {
  HWND dialog, control;
  if (!Control(caption, id, dialog, control)) return NoControl(caption, id);
  if (Ask(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index)
    return Fail(L"no entry %ls", std::to_wstring(index));
  Ask(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
  return 0;
}

int ExpectSelection(const wchar_t* caption, int id, int index) {
  HWND dialog, control;
  if (!Control(caption, id, dialog, control)) return NoControl(caption, id);
  auto read = [&] { return std::to_wstring(static_cast<int>(Ask(control, CB_GETCURSEL, 0, 0))); };
  return ExpectSoon(L"selection of #" + std::to_wstring(id), read, std::to_wstring(index));
}

int ExpectItems(const wchar_t* caption, int id, int count, wchar_t** items) {
  HWND dialog, control;
  if (!Control(caption, id, dialog, control)) return NoControl(caption, id);
  const int have = static_cast<int>(Ask(control, CB_GETCOUNT, 0, 0));
  if (have != count)
    return Expect(L"entries of #" + std::to_wstring(id), std::to_wstring(have), std::to_wstring(count));
  for (int i = 0; i < count; ++i) {
    const int length = static_cast<int>(Ask(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
    std::wstring item(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    Ask(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(wcslen(item.c_str()));
    if (int r = Expect(L"entry " + std::to_wstring(i), item, items[i])) return r;
  }
  return 0;
}

int Check(const wchar_t* caption, int id, bool on) {
  HWND dialog, control;
  if (!Control(caption, id, dialog, control)) return NoControl(caption, id);
  Ask(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  return 0;
}

int ExpectCheck(const wchar_t* caption, int id, bool on) {
  HWND dialog, control;
  if (!Control(caption, id, dialog, control)) return NoControl(caption, id);
  auto read = [&] {
    return std::wstring(Ask(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0");
  };
  return ExpectSoon(L"check box #" + std::to_wstring(id), read, on ? L"1" : L"0");
}

int ExpectEnabled(const wchar_t* caption, int id, bool on) {
  HWND dialog, control;
  if (!Control(caption, id, dialog, control)) return NoControl(caption, id);
  return Expect(L"enabled #" + std::to_wstring(id), IsWindowEnabled(control) ? L"1" : L"0", on ? L"1" : L"0");
}

int Press(const wchar_t* caption, int id) {
  HWND dialog = WaitCaption(caption);
  if (!dialog) return TimedOut(L"no window \"%ls\"", caption);
  PressButton(dialog, id);
  return 0;
}

// The message text of a message box: its one static control with text.
BOOL CALLBACK CollectStatic(HWND child, LPARAM lparam) {
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  std::wstring text = WindowText(child);
  if (_wcsicmp(name, L"Static") == 0 && !text.empty()) *reinterpret_cast<std::wstring*>(lparam) += text;
  return TRUE;
}

int ExpectMessage(const wchar_t* caption, const wchar_t* text, int button) {
  HWND box = WaitCaption(caption);
  if (!box) return TimedOut(L"no message box \"%ls\"", caption);
  // Read until it says what is expected: the box may be found before its
  // text is in place.
  auto said = [box] {
    std::wstring text;
    EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
    return text;
  };
  int result = ExpectSoon(L"message", said, text);
  PressButton(box, button);
  // This box, not its caption: the program may show the next message under
  // the same caption at once.
  const DWORD start = GetTickCount();
  while (IsWindow(box) && GetTickCount() - start < kWaitMs) Sleep(50);
  if (IsWindow(box)) return TimedOut(L"the message box \"%ls\" stays open", caption);
  return result;
}

int ChooseFile(const wchar_t* title, const wchar_t* path) {
  HWND dialog = WaitCaption(title);
  if (!dialog) return TimedOut(L"no file dialog \"%ls\"", title);
  HWND name = GetDlgItem(dialog, 0x047c);        // cmb13, the file name box
  if (!name) name = GetDlgItem(dialog, 0x0480);  // edt1 in older layouts
  if (!name) return Fail(L"the file dialog has no name box");
  Ask(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
  PressButton(dialog, IDOK);
  return WaitGone(title);
}

// Memory in the program's process for list view messages that carry pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD pid, size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  bool ok() const { return address_ != nullptr; }
  void* address() const { return address_; }
  bool Write(const void* data, size_t size, size_t at = 0) {
    return at + size <= size_ &&
           WriteProcessMemory(process_, static_cast<char*>(address_) + at, data, size, nullptr);
  }
  bool Read(void* data, size_t size, size_t at = 0) {
    return at + size <= size_ &&
           ReadProcessMemory(process_, static_cast<char*>(address_) + at, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

std::wstring CellText(HWND list, RemoteBuffer& remote, int row, int column) {
  constexpr size_t kTextAt = 256;
  constexpr int kTextChars = 256;
  LVITEMW item = {};
  item.iSubItem = column;
  item.cchTextMax = kTextChars;
  item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address()) + kTextAt);
  remote.Write(&item, sizeof(item));
  Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.address()));
  wchar_t text[kTextChars] = {};
  remote.Read(text, sizeof(text), kTextAt);
  text[kTextChars - 1] = 0;
  return text;
}

int ExpectRows(const wchar_t* caption, int id, int count, wchar_t** rows) {
  HWND dialog, list;
  if (!Control(caption, id, dialog, list)) return NoControl(caption, id);
  RemoteBuffer remote(ProgramProcess(), 1024);
  if (!remote.ok()) return Fail(L"no memory in the program's process");
  const int have = static_cast<int>(Ask(list, LVM_GETITEMCOUNT, 0, 0));
  int result = 0;
  for (int r = 0; r < have || r < count; ++r) {
    std::wstring got;
    if (r < have) {
      for (int c = 0; c < 4; ++c) got += (c ? L"|" : L"") + CellText(list, remote, r, c);
    }
    if (Expect(L"row " + std::to_wstring(r), got, r < count ? rows[r] : L"") != 0) result = 1;
  }
  return result;
}

// The list view's column titles, joined by "|".
int ExpectColumns(const wchar_t* caption, int id, const wchar_t* expected) {
  HWND dialog, list;
  if (!Control(caption, id, dialog, list)) return NoControl(caption, id);
  RemoteBuffer remote(ProgramProcess(), 1024);
  if (!remote.ok()) return Fail(L"no memory in the program's process");
  constexpr size_t kTextAt = 256;
  constexpr int kTextChars = 256;
  std::wstring got;
  for (int c = 0;; ++c) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.cchTextMax = kTextChars;
    column.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address()) + kTextAt);
    remote.Write(&column, sizeof(column));
    if (!Ask(list, LVM_GETCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(remote.address()))) break;
    wchar_t text[kTextChars] = {};
    remote.Read(text, sizeof(text), kTextAt);
    text[kTextChars - 1] = 0;
    got += (c ? L"|" : L"") + std::wstring(text);
  }
  return Expect(L"columns", got, expected);
}

// The window stands centred on the main window (to a pixel or two of
// rounding).
int ExpectCentred(const wchar_t* caption) {
  HWND window = WaitCaption(caption);
  if (!window) return TimedOut(L"no window \"%ls\"", caption);
  RECT main = {}, own = {};
  if (!GetWindowRect(FindFrame(), &main) || !GetWindowRect(window, &own)) return Fail(L"no window rectangles%ls");
  const int dx = (own.left + own.right) - (main.left + main.right);
  const int dy = (own.top + own.bottom) - (main.top + main.bottom);
  if (dx >= -4 && dx <= 4 && dy >= -4 && dy <= 4) return 0;
  return Fail(L"%ls", L"centre off the main window's by " + std::to_wstring(dx / 2) + L", " + std::to_wstring(dy / 2));
}

int ExpectRowCount(const wchar_t* caption, int id, int count) {
  HWND dialog, list;
  if (!Control(caption, id, dialog, list)) return NoControl(caption, id);
  auto read = [&] { return std::to_wstring(Ask(list, LVM_GETITEMCOUNT, 0, 0)); };
  return ExpectSoon(L"rows of #" + std::to_wstring(id), read, std::to_wstring(count));
}

int DoubleClickRow(const wchar_t* caption, int id, int row) {
  HWND dialog, list;
  if (!Control(caption, id, dialog, list)) return NoControl(caption, id);
  RemoteBuffer remote(ProgramProcess(), sizeof(RECT));
  if (!remote.ok()) return Fail(L"no memory in the program's process");
  RECT rect = {};
  rect.left = LVIR_BOUNDS;
  remote.Write(&rect, sizeof(rect));
  if (!Ask(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                    reinterpret_cast<LPARAM>(remote.address())))
    return Fail(L"no row %ls", std::to_wstring(row));
  remote.Read(&rect, sizeof(rect));
  const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(list, WM_LBUTTONUP, 0, point);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
  PostMessageW(list, WM_LBUTTONUP, 0, point);
  return 0;
}

// The window as the screen shows it, frame and caption included.
int Capture(const wchar_t* caption, const std::wstring& png) {
  HWND window = WaitCaption(caption);
  if (!window) return TimedOut(L"no window \"%ls\"", caption);
  // Only invalidated: an update forced from here would wait for a stuck program.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  Sleep(400);
  RECT outer;
  GetWindowRect(window, &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, width, height, screen, outer.left, outer.top, SRCCOPY) != 0;
  SelectObject(memory, old);
  bool saved = false;
  for (int attempt = 0; copied && !saved && attempt < 3; ++attempt)
    saved = SaveBitmapAsPng(bitmap, png) && GetFileAttributesW(png.c_str()) != INVALID_FILE_ATTRIBUTES;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved ? 0 : Fail(L"could not save %ls", png);
}

// A drop as the shell makes it: a DROPFILES block in the receiving process,
// handed over with WM_DROPFILES.
int Drop(const wchar_t* path) {
  HWND frame = FindFrame();
  if (!frame) return Fail(L"no main window");
  const size_t name_bytes = (wcslen(path) + 2) * sizeof(wchar_t);  // name and the list's final NUL
  std::vector<uint8_t> block(sizeof(DROPFILES) + name_bytes, 0);
  auto* header = reinterpret_cast<DROPFILES*>(block.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(block.data() + sizeof(DROPFILES), path, wcslen(path) * sizeof(wchar_t));
  DWORD pid = ProgramProcess();
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return Fail(L"cannot reach the program's process");
  // Left in the program: DragFinish releases it there.
  void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
  const bool ok = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
  CloseHandle(process);
  if (!ok) return Fail(L"cannot write the drop into the program");
  PostMessageW(frame, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  return 0;
}

int ExpectRunning(bool running) {
  // A first start in a fresh prefix on a busy machine can take longer than
  // any other step.
  const DWORD limit = running ? 2 * kWaitMs : kWaitMs;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < limit) {
    if ((FindFrame() != nullptr) == running) return 0;
    Sleep(50);
  }
  return TimedOut(running ? L"the main window is gone%ls" : L"the main window is still there%ls");
}

BOOL CALLBACK FindOtherShown(HWND window, LPARAM lparam) {
  auto* request = reinterpret_cast<FindRequest*>(lparam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != request->pid || window == request->found || !IsWindowVisible(window)) return TRUE;
  request->found = nullptr;
  return FALSE;
}

// Posts a menu command once the main window takes one: enabled, and no
// other window of the program shown (a dialog still closing would run the
// command inside its own modal loop, or swallow it as it ends).
int Command(int id) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND frame = FindFrame();
    if (!frame) return Fail(L"no main window%ls");
    FindRequest request{ProgramProcess(), nullptr, frame};
    EnumWindows(FindOtherShown, reinterpret_cast<LPARAM>(&request));
    if (request.found && IsWindowEnabled(frame)) {
      if (PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0)) return 0;
      return Fail(L"the command could not be posted (error %ls)", std::to_wstring(GetLastError()));
    }
    if (GetTickCount() - start >= kWaitMs) return TimedOut(L"the main window takes no command%ls");
    Sleep(50);
  }
}

// A key pressed and released on the main window, which comes to the front.
int PressKeyOnFrame(int key, bool ctrl) {
  HWND frame = FindFrame();
  if (!frame) return Fail(L"no main window");
  SetForegroundWindow(frame);
  Sleep(200);
  if (ctrl) PressKey(VK_CONTROL, true);
  PressKey(static_cast<WORD>(key), true);
  Sleep(300);  // held long enough for a frame or two to see it
  PressKey(static_cast<WORD>(key), false);
  if (ctrl) PressKey(VK_CONTROL, false);
  return 0;
}

}  // namespace

int RunDialogStep(int argc, wchar_t** argv) {
  const std::wstring c = argv[1];
  auto n = [&](int i) { return _wtoi(argv[i]); };
  if (c == L"command" && argc == 3) return Command(n(2));
  if (c == L"wait-dialog" && (argc == 3 || argc == 4))
    return WaitCaption(argv[2], argc == 4 ? n(3) : kWaitMs) ? 0 : TimedOut(L"no window \"%ls\"", argv[2]);
  if (c == L"wait-gone" && argc == 3) return WaitGone(argv[2]);
  if (c == L"set-text" && argc == 5) return SetText(argv[2], n(3), argv[4]);
  if (c == L"expect-text" && argc == 5) return ExpectText(argv[2], n(3), argv[4]);
  if (c == L"save-text" && argc == 5) return SaveText(argv[2], n(3), argv[4]);
  if (c == L"select" && argc == 5) return Select(argv[2], n(3), n(4));
  if (c == L"expect-selection" && argc == 5) return ExpectSelection(argv[2], n(3), n(4));
  if (c == L"expect-items" && argc >= 4) return ExpectItems(argv[2], n(3), argc - 4, argv + 4);
  if (c == L"check" && argc == 5) return Check(argv[2], n(3), n(4) != 0);
  if (c == L"expect-check" && argc == 5) return ExpectCheck(argv[2], n(3), n(4) != 0);
  if (c == L"expect-enabled" && argc == 5) return ExpectEnabled(argv[2], n(3), n(4) != 0);
  if (c == L"press" && argc == 4) return Press(argv[2], n(3));
  if (c == L"expect-message" && (argc == 4 || argc == 5))
    return ExpectMessage(argv[2], argv[3], argc == 5 ? n(4) : 1);
  if (c == L"choose-file" && argc == 4) return ChooseFile(argv[2], argv[3]);
  if (c == L"expect-rows" && argc >= 4) return ExpectRows(argv[2], n(3), argc - 4, argv + 4);
  if (c == L"expect-centred" && argc == 3) return ExpectCentred(argv[2]);
  if (c == L"expect-columns" && argc == 5) return ExpectColumns(argv[2], n(3), argv[4]);
  if (c == L"expect-row-count" && argc == 5) return ExpectRowCount(argv[2], n(3), n(4));
  if (c == L"dblclick-row" && argc == 5) return DoubleClickRow(argv[2], n(3), n(4));
  if (c == L"capture" && argc == 4) return Capture(argv[2], argv[3]);
  if (c == L"drop" && argc == 3) return Drop(argv[2]);
  if (c == L"close-window" && argc == 2) {
    HWND frame = FindFrame();
    if (!frame) return Fail(L"no main window");
    PostMessageW(frame, WM_CLOSE, 0, 0);
    return 0;
  }
  if (c == L"expect-running" && argc == 3) return ExpectRunning(n(2) != 0);
  if (c == L"press-key" && (argc == 3 || argc == 4)) return PressKeyOnFrame(n(2), argc == 4 && std::wstring(argv[3]) == L"ctrl");
  return 2;
}
