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

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/win/e2e_support.h"

namespace {

// A busy machine (a build beside the run) can slow the program to a frame a
// second: a step waits this long for what it expects before it fails.
constexpr DWORD kWaitMs = 30000;

// A shown window of the program's with the caption (">X": owned by the
// window captioned X).
HWND FindCaption(const wchar_t* caption) {
  const bool owned = caption[0] == L'>';
  for (HWND window : TopWindows(ProgramProcess())) {
    HWND named = owned ? GetWindow(window, GW_OWNER) : window;
    if (!named || !IsWindowVisible(window)) continue;
    // A caption is the system's copy of the text: no message to a program
    // that may be busy starting or saving.
    wchar_t text[256] = {};
    GetWindowTextW(named, text, 256);
    if (wcscmp(text, caption + (owned ? 1 : 0)) == 0) return window;
  }
  return nullptr;
}

HWND WaitCaption(const wchar_t* caption, DWORD bound_ms = kWaitMs) {
  HWND window = nullptr;
  if (!WaitUntil(bound_ms, 50, [&] { return (window = FindCaption(caption)) != nullptr; })) return nullptr;
  Sleep(150);  // let it finish its first painting
  return window;
}

int WaitGone(const wchar_t* caption) {
  if (WaitUntil(kWaitMs, 50, [caption] { return !FindCaption(caption); })) return 0;
  return TimedOut(L"\"%ls\" is still open", caption);
}

// Equal, or starting with `expected` less its final "…".
bool Matches(const std::wstring& got, const std::wstring& expected) {
  if (!expected.empty() && expected.back() == L'…')
    return got.rfind(expected.substr(0, expected.size() - 1), 0) == 0;
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
  std::wstring got;
  WaitUntil(2000, 50, [&] { return Matches(got = read(), expected); });
  return Expect(what, got, expected);
}

// A property of a control as the expect- steps compare it.
using Property = std::wstring (*)(HWND control);
std::wstring TextOf(HWND control) {
  return WindowText(control);
}
std::wstring CheckOf(HWND control) {
  return Ask(control, BM_GETCHECK) == BST_CHECKED ? L"1" : L"0";
}
std::wstring EnabledOf(HWND control) {
  return IsWindowEnabled(control) ? L"1" : L"0";
}
std::wstring SelectionOf(HWND control) {
  return std::to_wstring(static_cast<int>(Ask(control, CB_GETCURSEL)));
}
std::wstring RowCountOf(HWND control) {
  return std::to_wstring(Ask(control, LVM_GETITEMCOUNT));
}

// The step "expect-X CAPTION ID VALUE": the property reads VALUE within two
// seconds (numbers and 0|1 as the scripts write them).
template <Property Read>
int ExpectProperty(const Call& c) {
  return ExpectSoon(
      std::wstring(c.args[0]) + L" #" + c.args[1], [&c] { return Read(c.control); }, c.args[2]);
}

int Select(HWND dialog, HWND control, int index) {
  if (Ask(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index)
    return Fail(L"no entry %ls", std::to_wstring(index));
  Ask(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), CBN_SELCHANGE),
      reinterpret_cast<LPARAM>(control));
  return 0;
}

int ExpectItems(HWND control, int count, wchar_t** items) {
  const int have = static_cast<int>(Ask(control, CB_GETCOUNT, 0, 0));
  if (have != count) return Expect(L"entries", std::to_wstring(have), std::to_wstring(count));
  for (int i = 0; i < count; ++i) {
    const int length = static_cast<int>(Ask(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
    std::wstring item(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    Ask(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(wcslen(item.c_str()));
    if (int r = Expect(L"entry " + std::to_wstring(i), item, items[i])) return r;
  }
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

int ExpectMessage(HWND box, const wchar_t* caption, const wchar_t* text, int button) {
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
  if (!WaitUntil(kWaitMs, 50, [box] { return !IsWindow(box); }))
    return TimedOut(L"the message box \"%ls\" stays open", caption);
  return result;
}

int ChooseFile(HWND dialog, const wchar_t* title, const wchar_t* path) {
  HWND name = GetDlgItem(dialog, 0x047c);        // cmb13, the file name box
  if (!name) name = GetDlgItem(dialog, 0x0480);  // edt1 in older layouts
  if (!name) return Fail(L"the file dialog has no name box");
  Ask(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
  PressButton(dialog, IDOK);
  return WaitGone(title);
}

// Sends `message` to a control of the program with a copy of `block` in
// the program's memory (list view messages carry pointers there) and
// copies it back; `place` first points the block's members into the copy.
// 0 when there is no copy.
template <typename Block, typename Place>
LRESULT AskInProgram(HWND control, UINT message, WPARAM wparam, Block& block, Place place) {
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProgramProcess());
  void* copy =
      process ? VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE) : nullptr;
  LRESULT result = 0;
  if (copy) {
    place(block, static_cast<char*>(copy));
    if (WriteProcessMemory(process, copy, &block, sizeof(Block), nullptr))
      result = Ask(control, message, wparam, reinterpret_cast<LPARAM>(copy));
    ReadProcessMemory(process, copy, &block, sizeof(Block), nullptr);
    VirtualFreeEx(process, copy, 0, MEM_RELEASE);
  }
  if (process) CloseHandle(process);
  return result;
}

// A text the list view gives by `message` for `index` into `info` (an
// LVITEMW or LVCOLUMNW); false when the message gives 0 (no such column,
// an empty cell).
template <typename Info>
bool ListText(HWND list, UINT message, int index, Info info, std::wstring& text) {
  struct {
    Info info;
    wchar_t text[256];
  } block = {info, {}};
  const bool answered =
      AskInProgram(list, message, static_cast<WPARAM>(index), block, [](auto& b, char* copy) {
        b.info.cchTextMax = 256;
        b.info.pszText = reinterpret_cast<wchar_t*>(
            copy + (reinterpret_cast<char*>(b.text) - reinterpret_cast<char*>(&b)));
      });
  block.text[255] = 0;
  text = answered ? block.text : L"";
  return answered;
}

// The list view's column titles (joined by "|", against expected[0]) or
// its rows (cells joined by "|", against the `count` named).
int ExpectList(HWND list, bool columns, int count, wchar_t** expected) {
  std::wstring got, text;
  if (columns) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    for (int c = 0; ListText(list, LVM_GETCOLUMNW, c, column, text); ++c) got += (c ? L"|" : L"") + text;
    return Expect(L"columns", got, expected[0]);
  }
  const int have = static_cast<int>(Ask(list, LVM_GETITEMCOUNT, 0, 0));
  int result = 0;
  for (int r = 0; r < have || r < count; ++r, got.clear()) {
    LVITEMW cell = {};
    for (cell.iSubItem = 0; r < have && cell.iSubItem < 4; ++cell.iSubItem) {
      ListText(list, LVM_GETITEMTEXTW, r, cell, text);
      got += (cell.iSubItem ? L"|" : L"") + text;
    }
    if (Expect(L"row " + std::to_wstring(r), got, r < count ? expected[r] : L"") != 0) result = 1;
  }
  return result;
}

// The window stands centred on the main window (to a pixel or two of
// rounding).
int ExpectCentred(HWND window) {
  RECT main = {}, own = {};
  if (!GetWindowRect(FindFrame(), &main) || !GetWindowRect(window, &own))
    return Fail(L"no window rectangles%ls");
  const int dx = (own.left + own.right) - (main.left + main.right);
  const int dy = (own.top + own.bottom) - (main.top + main.bottom);
  if (dx >= -4 && dx <= 4 && dy >= -4 && dy <= 4) return 0;
  return Fail(L"%ls", L"centre off the main window's by " + std::to_wstring(dx / 2) + L", " +
                          std::to_wstring(dy / 2));
}

int DoubleClickRow(HWND list, int row) {
  RECT rect = {LVIR_BOUNDS, 0, 0, 0};
  if (!AskInProgram(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), rect, [](RECT&, char*) {}))
    return Fail(L"no row %ls", std::to_wstring(row));
  const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(list, WM_LBUTTONUP, 0, point);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
  PostMessageW(list, WM_LBUTTONUP, 0, point);
  return 0;
}

// The window as the screen shows it, frame and caption included.
int Capture(HWND window, const std::wstring& png) {
  // Only invalidated: an update forced from here would wait for a stuck program.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  Sleep(400);
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  bool saved = false;
  for (int attempt = 0; !saved && attempt < 3 && CaptureWindow(window, pixels, width, height, true);
       ++attempt)
    saved = SavePixelsAsPng(pixels, width, height, png) &&
            GetFileAttributesW(png.c_str()) != INVALID_FILE_ATTRIBUTES;
  return saved ? 0 : Fail(L"could not save %ls", png);
}

// A drop as the shell makes it: a DROPFILES block in the receiving process,
// handed over with WM_DROPFILES.
int Drop(HWND frame, const wchar_t* path) {
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
  if (WaitUntil(running ? 2 * kWaitMs : kWaitMs, 50,
                [running] { return (FindFrame() != nullptr) == running; }))
    return 0;
  return TimedOut(running ? L"the main window is gone%ls" : L"the main window is still there%ls");
}

// Posts a menu command once the main window takes one: enabled, and no
// other window of the program shown (a dialog still closing would run the
// command inside its own modal loop, or swallow it as it ends).
int Command(int id) {
  HWND frame = nullptr;
  const bool ready = WaitUntil(kWaitMs, 50, [&] {
    if (!(frame = FindFrame())) return true;
    const std::vector<HWND> windows = TopWindows(ProgramProcess());
    const auto shown = [frame](HWND window) { return window != frame && IsWindowVisible(window); };
    return IsWindowEnabled(frame) && std::none_of(windows.begin(), windows.end(), shown);
  });
  if (!frame) return Fail(L"no main window%ls");
  if (!ready) return TimedOut(L"the main window takes no command%ls");
  if (PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0)) return 0;
  return Fail(L"the command could not be posted (error %ls)", std::to_wstring(GetLastError()));
}

// A key pressed and released on the main window, which comes to the front.
int PressKeyOnFrame(HWND frame, int key, bool ctrl) {
  if (ctrl) PressKey(VK_CONTROL, true);
  PressKeyOn(frame, static_cast<WORD>(key), 300);  // long enough for a frame or two to see it
  if (ctrl) PressKey(VK_CONTROL, false);
  return 0;
}

}  // namespace

int FindTarget(On on, Call& call) {
  const wchar_t* caption = call.args[0];
  if (on == On::kNothing) return 0;
  if (on == On::kFrame) return (call.window = FindFrame()) ? 0 : Fail(L"no main window");
  if (!(call.window = WaitCaption(caption))) return TimedOut(L"no window \"%ls\"", caption);
  if (on == On::kCaption || (call.control = GetDlgItem(call.window, call.Number(1)))) return 0;
  if (!FindCaption(caption)) return TimedOut(L"no window \"%ls\"", caption);
  return Fail(L"no control %ls", std::wstring(caption) + L" #" + call.args[1]);
}

const std::vector<Step> kDialogSteps = {
    {L"command", 1, 1, On::kNothing, [](const Call& c) { return Command(c.Number(0)); }},
    {L"wait-dialog", 1, 2, On::kNothing,
     [](const Call& c) {
       return WaitCaption(c.args[0], c.count == 2 ? c.Number(1) : kWaitMs)
                  ? 0
                  : TimedOut(L"no window \"%ls\"", c.args[0]);
     }},
    {L"wait-gone", 1, 1, On::kNothing, [](const Call& c) { return WaitGone(c.args[0]); }},
    {L"set-text", 3, 3, On::kControl,
     [](const Call& c) { return Ask(c.control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.args[2])), 0; }},
    {L"expect-text", 3, 3, On::kControl, ExpectProperty<TextOf>},
    {L"save-text", 3, 3, On::kControl,
     [](const Call& c) {
       return WriteUtf8(c.args[2], WindowText(c.control)) ? 0 : Fail(L"could not write %ls", c.args[2]);
     }},
    {L"select", 3, 3, On::kControl, [](const Call& c) { return Select(c.window, c.control, c.Number(2)); }},
    {L"expect-selection", 3, 3, On::kControl, ExpectProperty<SelectionOf>},
    {L"expect-items", 2, 1000, On::kControl,
     [](const Call& c) { return ExpectItems(c.control, c.count - 2, c.args + 2); }},
    {L"check", 3, 3, On::kControl,
     [](const Call& c) { return Ask(c.control, BM_SETCHECK, c.Number(2) ? BST_CHECKED : BST_UNCHECKED), 0; }},
    {L"expect-check", 3, 3, On::kControl, ExpectProperty<CheckOf>},
    {L"expect-enabled", 3, 3, On::kControl, ExpectProperty<EnabledOf>},
    {L"press", 2, 2, On::kCaption, [](const Call& c) { return PressButton(c.window, c.Number(1)), 0; }},
    {L"expect-message", 2, 3, On::kCaption,
     [](const Call& c) {
       return ExpectMessage(c.window, c.args[0], c.args[1], c.count == 3 ? c.Number(2) : IDOK);
     }},
    {L"choose-file", 2, 2, On::kCaption,
     [](const Call& c) { return ChooseFile(c.window, c.args[0], c.args[1]); }},
    {L"expect-rows", 2, 1000, On::kControl,
     [](const Call& c) { return ExpectList(c.control, false, c.count - 2, c.args + 2); }},
    {L"expect-centred", 1, 1, On::kCaption, [](const Call& c) { return ExpectCentred(c.window); }},
    {L"expect-columns", 3, 3, On::kControl,
     [](const Call& c) { return ExpectList(c.control, true, 1, c.args + 2); }},
    {L"expect-row-count", 3, 3, On::kControl, ExpectProperty<RowCountOf>},
    {L"dblclick-row", 3, 3, On::kControl,
     [](const Call& c) { return DoubleClickRow(c.control, c.Number(2)); }},
    {L"capture", 2, 2, On::kCaption, [](const Call& c) { return Capture(c.window, c.args[1]); }},
    {L"drop", 1, 1, On::kFrame, [](const Call& c) { return Drop(c.window, c.args[0]); }},
    {L"close-window", 0, 0, On::kFrame,
     [](const Call& c) { return PostMessageW(c.window, WM_CLOSE, 0, 0), 0; }},
    {L"expect-running", 1, 1, On::kNothing, [](const Call& c) { return ExpectRunning(c.Number(0) != 0); }},
    {L"press-key", 1, 2, On::kFrame,
     [](const Call& c) {
       return PressKeyOnFrame(c.window, c.Number(0), c.count == 2 && !wcscmp(c.args[1], L"ctrl"));
     }},
};
