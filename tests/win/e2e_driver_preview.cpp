// The driver's commands for the workshop name, Make data and the vehicle
// preview:
//
//   workshop-name TEXT OUTCOME  types TEXT into the environment dialog and
//                          presses OK; OUTCOME blank, reserved or
//                          unscriptable expects that check message (closed
//                          again, the dialog stays open), accepted expects the
//                          dialog to close
//   workshop-cancel        cancels the environment dialog and expects the
//                          notice that the program ends
//   environment-readonly NAME  menu 環境設定: NAME in a disabled box, OK closes
//   open-project PATH      menu Open, the path typed into the file dialog
//   make-data none|report FILE  menu Make data; expects no window or the report,
//                          whose text is written to FILE (UTF-8), then closed
//   capture PNG            the client area as it is now
//   key VK                 a key press sent to the window (a preview key)
//   drag DX DY [ctrl|shift]  a left-button drag from the centre
//   esc-after-dialog       Esc closes the environment dialog and stays down:
//                          the program keeps running; a fresh Esc closes it
//   status-line            reads the status line off the window and checks
//                          its format "%5.2f FPS T%08d D%02d L%02d %02d %02d"
//   rate-at-most FPS       the status line's frames per second are at most FPS
//   clock-pauses           the status line's scene clock stands while the
//                          window is minimised
//   screenshot-failure     F4 with no picture folder to save into is reported
//   notice FIRST PATH      a start-up notice "Railwick" says FIRST, then
//                          PATH on the next line; OK closes it
//   screenshot-skip        with a file at the first free number N, F4
//                          writes scrN+1.bmp and leaves scrN.bmp alone
#include <windows.h>
// clang-format off
#include <shlobj.h>
#include <d3dx9.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <regex>
#include <string>
#include <vector>

#include "tests/win/e2e_support.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kMessageTextControl = 0xFFFF;
constexpr UINT kOpenCommand = 32772;
constexpr UINT kMakeDataCommand = 32778;
constexpr UINT kEnvironmentCommand = 32779;

constexpr wchar_t kBlankMessage[] = L"工房名が空欄または空白です。\n文字を入力してください。";
constexpr wchar_t kReservedMessage[] =
    L"工房名に使用できない名前が使われています。\n別の名前を設定してください。";
constexpr wchar_t kUnscriptablePrefix[] = L"工房名に使用できない文字が含まれています。";
constexpr wchar_t kCancelledPrefix[] = L"工房名が設定されなかったため、終了します。";

HWND WaitWindow(const wchar_t* caption, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 20) {
    HWND window = FindWindowW(kDialogClass, caption);
    if (window != nullptr && IsWindowVisible(window)) return window;
    Sleep(20);
  }
  return nullptr;
}

bool WaitGone(HWND window, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 20) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    Sleep(20);
  }
  return false;
}

// Returns once the window has handled what was posted to it before: a sent
// message is handled ahead of posted ones, so the first only gets through
// the queue and the second waits for what was posted behind it.
bool Settle(HWND window, UINT timeout_ms) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &ignored) &&
         SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &ignored);
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The message box with `caption`: its text, after which it is closed.
bool TakeMessageBox(const wchar_t* caption, std::wstring& text) {
  HWND box = WaitWindow(caption, 10000);
  if (box == nullptr) return false;
  text = TextOf(GetDlgItem(box, kMessageTextControl));
  PressButton(box, IDOK);
  return WaitGone(box, 5000);
}

void PrintWide(const char* label, const std::wstring& text) {
  char utf8[2048];
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof(utf8), nullptr, nullptr);
  std::fprintf(stderr, "driver: %s: %s\n", label, utf8);
}

int WorkshopName(const std::wstring& name, const std::wstring& outcome) {
  HWND dialog = WaitWindow(L"環境設定", 30000);
  if (dialog == nullptr) return Fail("no environment dialog");
  HWND edit = GetDlgItem(dialog, 1147);
  if (edit == nullptr || !IsWindowEnabled(edit)) return Fail("no editable box 1147");
  DWORD_PTR ignored = 0;  // bounded: a stuck program fails the step, not the run
  if (!SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), SMTO_ABORTIFHUNG, 5000,
                           &ignored))
    return Fail("the name box did not answer");
  PressButton(dialog, IDOK);
  if (outcome == L"accepted") return WaitGone(dialog, 10000) ? 0 : Fail("the dialog stayed open");

  std::wstring message;
  if (!TakeMessageBox(L"検証", message)) return Fail("no check message");
  bool expected = false;
  if (outcome == L"blank") expected = message == kBlankMessage;
  if (outcome == L"reserved") expected = message == kReservedMessage;
  if (outcome == L"unscriptable") expected = message.rfind(kUnscriptablePrefix, 0) == 0;
  if (!expected) {
    PrintWide("message", message);
    return Fail("not the expected check message");
  }
  Sleep(200);
  if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return Fail("the dialog closed after a refused name");
  if (TextOf(edit) != name) return Fail("the typed text was not kept");
  return 0;
}

int WorkshopCancel() {
  HWND dialog = WaitWindow(L"環境設定", 30000);
  if (dialog == nullptr) return Fail("no environment dialog");
  PressButton(dialog, IDCANCEL);
  std::wstring message;
  if (!TakeMessageBox(L"Railwick", message)) return Fail("no notice after cancelling");
  if (message.rfind(kCancelledPrefix, 0) != 0) {
    PrintWide("notice", message);
    return Fail("not the notice that the workshop name was not set");
  }
  return 0;
}

int EnvironmentReadOnly(const std::wstring& name) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kEnvironmentCommand, 0), 0);
  HWND dialog = WaitWindow(L"環境設定", 10000);
  if (dialog == nullptr) return Fail("no environment dialog");
  HWND edit = GetDlgItem(dialog, 1147);
  if (edit == nullptr || IsWindowEnabled(edit)) return Fail("the name box is not disabled");
  if (TextOf(edit) != name) return Fail("the box does not show the stored name");
  PressButton(dialog, IDOK);
  if (!WaitGone(dialog, 5000)) return Fail("OK did not close the dialog");
  if (FindWindowW(kDialogClass, L"検証") != nullptr) return Fail("a check message appeared");
  return 0;
}

BOOL CALLBACK FindEdit(HWND child, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(child, name, 16);
  if (_wcsicmp(name, L"Edit") == 0 && IsWindowVisible(child)) {
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

// As a user does it: into the project's folder first, then the file.
int OpenProject(std::wstring path) {
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';  // the file dialog takes Windows paths only
  const size_t cut = path.find_last_of(L'\\');
  if (cut == std::wstring::npos) return Fail("the path has no folder");
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kOpenCommand, 0), 0);
  HWND dialog = WaitWindow(L"ファイル選択", 15000);
  if (dialog == nullptr) return Fail("no open dialog");
  HWND edit = nullptr;
  EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&edit));
  if (edit == nullptr) return Fail("no file name box");
  for (const std::wstring& part : {path.substr(0, cut), path.substr(cut + 1)}) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(part.c_str()), SMTO_ABORTIFHUNG, 5000,
                             &ignored))
      return Fail("the file name box did not answer");
    PressButton(dialog, IDOK);
    Sleep(500);
  }
  if (!WaitGone(dialog, 10000)) return Fail("the open dialog stayed");
  Sleep(300);
  return 0;
}

int MakeData(const std::wstring& expect, const std::wstring& report_file) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  if (expect == L"report") {
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kMakeDataCommand, 0), 0);
    HWND report = WaitWindow(L"データ作成レポート", 120000);
    if (report == nullptr) return Fail("no report dialog");
    HWND text = GetDlgItem(report, 1000);
    const LONG style = GetWindowLongW(text, GWL_STYLE);
    // The edit control turns its border into an edge of its own; the rest
    // stays as the template asks.
    const LONG wanted = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
    if (text == nullptr || (style & wanted) != wanted)
      return Fail("the report has no read-only text box 1000");
    if (!WriteUtf8(report_file, TextOf(text))) return Fail("could not write the report text");
    PressButton(report, IDOK);
    return WaitGone(report, 5000) ? 0 : Fail("OK did not close the report");
  }
  // Sent from a second thread, so the send returns exactly when the command
  // has run, while this thread looks out for a message box or the report.
  struct Send {
    HWND frame;
    LRESULT done = 0;
  } send{frame};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* data) -> DWORD {
        auto* s = static_cast<Send*>(data);
        DWORD_PTR result = 0;
        s->done = SendMessageTimeoutW(s->frame, WM_COMMAND, MAKEWPARAM(kMakeDataCommand, 0), 0, SMTO_NORMAL,
                                      120000, &result);
        return 0;
      },
      &send, 0, nullptr);
  if (thread == nullptr) return Fail("no thread");
  int result = 0;
  while (WaitForSingleObject(thread, 50) == WAIT_TIMEOUT) {
    for (const wchar_t* caption : {L"データ作成レポート", L"検証"}) {
      HWND window = FindWindowW(kDialogClass, caption);
      if (window == nullptr || !IsWindowVisible(window)) continue;
      HWND text = GetDlgItem(window, caption[0] != L'検' ? 1000 : kMessageTextControl);
      PrintWide("shown", TextOf(text));
      PressButton(window, IDOK);
      result = Fail("an unexpected message or report appeared");
    }
  }
  CloseHandle(thread);
  if (result == 0 && !send.done) return Fail("the program did not finish Make data");
  return result;
}

// The status line in the top rows changes with every frame drawn.
bool StatusLineChanged(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width) {
  const size_t rows = 14;
  const size_t count = std::min(a.size(), std::min(b.size(), rows * static_cast<size_t>(width)));
  return a.size() != b.size() || !std::equal(a.begin(), a.begin() + count, b.begin());
}

// The client area once two more frames have been drawn since the command
// before (the first frame of a new vehicle can take a while under Wine).
int Capture(const std::wstring& png) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  std::vector<uint32_t> before, pixels;
  int width = 0, height = 0;
  if (!CaptureClient(frame, before, width, height)) return Fail("capture failed");
  int frames = 0;
  for (int waited = 0; frames < 2; waited += 100) {
    if (waited > 30000) return Fail("no new frames");
    Sleep(100);
    if (!CaptureClient(frame, pixels, width, height)) return Fail("capture failed");
    if (StatusLineChanged(before, pixels, width)) {
      ++frames;
      before = pixels;
    }
  }
  return SavePixelsAsPng(pixels, width, height, png) ? 0 : Fail("could not save the PNG");
}

int Key(UINT key) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  PostMessageW(frame, WM_KEYDOWN, key, 1);
  PostMessageW(frame, WM_KEYUP, key, 0xC0000001);
  Settle(frame, 10000);
  return IsWindow(frame) ? 0 : Fail("the window is gone");
}

int Drag(int dx, int dy, const std::wstring& modifier) {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  RECT client;
  GetClientRect(frame, &client);
  const int x = client.right / 2, y = client.bottom / 2;
  WPARAM keys = MK_LBUTTON;
  if (modifier == L"ctrl") keys |= MK_CONTROL;
  if (modifier == L"shift") keys |= MK_SHIFT;
  PostMessageW(frame, WM_LBUTTONDOWN, keys, MAKELPARAM(x, y));
  for (int step = 1; step <= 10; ++step)
    PostMessageW(frame, WM_MOUSEMOVE, keys, MAKELPARAM(x + dx * step / 10, y + dy * step / 10));
  PostMessageW(frame, WM_LBUTTONUP, keys & ~static_cast<WPARAM>(MK_LBUTTON), MAKELPARAM(x + dx, y + dy));
  Settle(frame, 10000);
  return IsWindow(frame) ? 0 : Fail("the window is gone");
}

int EscAfterDialog() {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kEnvironmentCommand, 0), 0);
  HWND dialog = WaitWindow(L"環境設定", 10000);
  if (dialog == nullptr) return Fail("no environment dialog");
  SetForegroundWindow(dialog);
  Sleep(200);
  PressKey(VK_ESCAPE, true);
  const bool closed = WaitGone(dialog, 5000);
  Sleep(1000);  // the frame is active again with Esc still down
  const bool survived = IsWindow(frame) != FALSE;
  PressKey(VK_ESCAPE, false);
  if (!closed) return Fail("Esc did not close the dialog");
  if (!survived) return Fail("the held Esc closed the program");
  Sleep(300);
  SetForegroundWindow(frame);
  Sleep(300);
  PressKey(VK_ESCAPE, true);
  Sleep(600);  // the window looks at the key once a frame
  PressKey(VK_ESCAPE, false);
  for (int i = 0; i < 250 && IsWindow(frame); ++i) Sleep(20);
  return IsWindow(frame) ? Fail("a fresh Esc did not close the program") : 0;
}

std::wstring ScreenshotFile(const wchar_t* folder, int number) {
  wchar_t name[32];
  swprintf(name, 32, L"\\scr%05d.bmp", number);
  return std::wstring(folder) + name;
}

int ScreenshotSkip() {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_MYPICTURES, FALSE) &&
      !SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE))
    return Fail("no picture folder");
  // The first free number gets a file of someone else's; the key must skip it.
  int number = 0;
  while (GetFileAttributesW(ScreenshotFile(folder, number).c_str()) != INVALID_FILE_ATTRIBUTES) ++number;
  const std::wstring taken = ScreenshotFile(folder, number);
  const std::wstring next = ScreenshotFile(folder, number + 1);
  DeleteFileW(next.c_str());
  const char kMark[] = "an earlier screenshot";
  HANDLE file = CreateFileW(taken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Fail("could not place the earlier file");
  DWORD written = 0;
  WriteFile(file, kMark, sizeof(kMark), &written, nullptr);
  CloseHandle(file);

  SetForegroundWindow(frame);
  Sleep(200);
  PressKey(VK_F4, true);
  for (int i = 0; i < 150 && GetFileAttributesW(next.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
  PressKey(VK_F4, false);
  Sleep(200);
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(taken, bytes) || bytes.size() != sizeof(kMark))
    return Fail("the earlier file was replaced");
  if (!ReadFileBytes(next, bytes) || bytes.size() < 54 || bytes[0] != 'B') return Fail("no new screenshot");
  return 0;
}

// One character of the status-line font as it draws on black: its advance
// and its pixels' brightness in the rows of the line.
struct Glyph {
  wchar_t character;
  int advance;
  std::vector<int> brightness;  // kStatusRows x advance
};

constexpr int kStatusRows = 14;

int Brightness(uint32_t pixel) {
  return static_cast<int>(((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF));
}

// Draws every character the status line can hold with the font the program
// uses for it (Arial 12 x 6 through D3DX), on a device of our own.
bool BuildGlyphs(std::vector<Glyph>& glyphs) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"RailwickStatusGlyphs";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 64, 32, nullptr, nullptr,
                                wc.hInstance, nullptr);
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS present = {};
  present.Windowed = TRUE;
  present.SwapEffect = D3DSWAPEFFECT_DISCARD;
  present.BackBufferFormat = D3DFMT_X8R8G8B8;
  present.BackBufferWidth = 64;
  present.BackBufferHeight = 32;
  present.hDeviceWindow = window;
  IDirect3DDevice9* device = nullptr;
  ID3DXFont* font = nullptr;
  ID3DXSprite* sprite = nullptr;
  IDirect3DSurface9 *back = nullptr, *copy = nullptr;
  D3DXFONT_DESCW desc = {};
  desc.Height = 12;
  desc.Width = 6;
  desc.Weight = FW_NORMAL;
  desc.MipLevels = 1;
  desc.CharSet = ANSI_CHARSET;
  desc.OutputPrecision = OUT_DEFAULT_PRECIS;
  desc.Quality = DEFAULT_QUALITY;
  desc.PitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wcscpy(desc.FaceName, L"Arial");
  bool ok = d3d &&
            SUCCEEDED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                        D3DCREATE_SOFTWARE_VERTEXPROCESSING, &present, &device)) &&
            SUCCEEDED(D3DXCreateFontIndirectW(device, &desc, &font)) &&
            SUCCEEDED(D3DXCreateSprite(device, &sprite)) &&
            SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) &&
            SUCCEEDED(device->CreateOffscreenPlainSurface(64, 32, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &copy,
                                                          nullptr));
  for (const wchar_t c : std::wstring(L"0123456789. FPSTDL")) {
    if (!ok) break;
    RECT size = {0, 0, 0, 0};
    font->DrawTextW(nullptr, &c, 1, &size, DT_CALCRECT | DT_NOCLIP, 0xFFFFFFFF);
    Glyph glyph{c, size.right, {}};
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    sprite->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE);
    RECT at = {0, 0, 0, 0};
    font->DrawTextW(sprite, &c, 1, &at, DT_NOCLIP, 0xFFFFFFFF);
    sprite->End();
    device->EndScene();
    D3DLOCKED_RECT locked = {};
    ok = glyph.advance > 0 && glyph.advance < 64 && SUCCEEDED(device->GetRenderTargetData(back, copy)) &&
         SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY));
    if (!ok) break;
    for (int y = 0; y < kStatusRows; ++y) {
      const auto* row =
          reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch);
      for (int x = 0; x < glyph.advance; ++x) glyph.brightness.push_back(Brightness(row[x]));
    }
    copy->UnlockRect();
    glyphs.push_back(glyph);
  }
  for (IUnknown* object : std::initializer_list<IUnknown*>{copy, back, sprite, font, device, d3d})
    if (object) object->Release();
  DestroyWindow(window);
  return ok && !glyphs.empty();
}

// Reads the status line glyph by glyph from the left edge: at each place
// the glyph whose pixels match best, then on by its advance.
std::wstring ReadStatusLine(const std::vector<uint32_t>& pixels, int width,
                            const std::vector<Glyph>& glyphs) {
  std::wstring text;
  int x = 0;
  while (text.size() < 64) {
    const Glyph* best = nullptr;
    long best_cost = 0;
    for (const Glyph& glyph : glyphs) {
      if (x + glyph.advance > width) continue;
      long cost = 0;
      for (int y = 0; y < kStatusRows; ++y)
        for (int i = 0; i < glyph.advance; ++i)
          cost += std::abs(Brightness(pixels[static_cast<size_t>(y) * width + x + i]) -
                           glyph.brightness[static_cast<size_t>(y) * glyph.advance + i]);
      cost = cost / glyph.advance;  // per column, so narrow and wide glyphs compare
      if (best == nullptr || cost < best_cost) {
        best = &glyph;
        best_cost = cost;
      }
    }
    if (best == nullptr) break;
    text.push_back(best->character);
    x += best->advance;
  }
  while (!text.empty() && text.back() == L' ') text.pop_back();
  return text;
}

// The status line as it stands on the window now; empty when it cannot be read.
std::wstring CurrentStatusLine() {
  HWND frame = FindFrame();
  std::vector<Glyph> glyphs;
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (frame == nullptr || !BuildGlyphs(glyphs) || !CaptureClient(frame, pixels, width, height) ||
      height < kStatusRows)
    return {};
  return ReadStatusLine(pixels, width, glyphs);
}

int StatusLine() {
  const std::wstring line = CurrentStatusLine();
  PrintWide("status line", line);
  // %5.2f pads to five places; the durations print at least two digits,
  // the untouched minimum of the first second four.
  static const std::wregex kFormat(
      L"^( \\d|\\d\\d|\\d{3,})\\.\\d\\d FPS T\\d{8} D\\d\\d L\\d{2,} \\d{2,} \\d{2,}$");
  return std::regex_match(line, kFormat) ? 0 : Fail("the status line does not have the format");
}

// The preview draws no faster than the display refreshes: the frames per
// second of the status line stay at or below `most`.
int RateAtMost(double most) {
  const std::wstring line = CurrentStatusLine();
  PrintWide("status line", line);
  const double rate = std::wcstod(line.c_str(), nullptr);
  if (line.find(L" FPS ") == std::wstring::npos || rate <= 0) return Fail("the rate could not be read");
  return rate <= most ? 0 : Fail("the preview draws faster than the display refreshes");
}

// The scene clock the status line shows, in ms; -1 when it cannot be read.
long StatusClock() {
  const std::wstring line = CurrentStatusLine();
  const size_t at = line.find(L" T");
  return at == std::wstring::npos ? -1 : std::wcstol(line.c_str() + at + 2, nullptr, 10);
}

// Minimised for three seconds, the scene clock stands: after the restore it
// goes on from about where it was.
int ClockPausesWhileMinimised() {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  const long before = StatusClock();
  const DWORD started = GetTickCount();
  ShowWindow(frame, SW_MINIMIZE);
  for (int waited = 0; waited < 5000 && !IsIconic(frame); waited += 20) Sleep(20);
  if (!IsIconic(frame)) return Fail("the window did not minimise");
  Sleep(3000);
  ShowWindow(frame, SW_RESTORE);
  SetForegroundWindow(frame);
  // The device follows the restored size, then frames come again.
  long after = -1;
  for (int waited = 0; waited < 15000 && (after < 0 || after == before); waited += 300) {
    Sleep(300);
    after = StatusClock();
  }
  const long elapsed = static_cast<long>(GetTickCount() - started);
  std::fprintf(stderr, "driver: scene clock %ld ms before, %ld ms after, %ld ms of real time\n", before,
               after, elapsed);
  if (before < 0 || after < 0) return Fail("the clock could not be read");
  // Of the real time between the readings, the three minimised seconds
  // (less some slack for the window's own steps) are not scene time.
  return after >= before && after - before < elapsed - 2500 ? 0 : Fail("the clock ran on while minimised");
}

// With the picture folder not a folder, F4 cannot save: the user is told.
int ScreenshotFailure() {
  HWND frame = FindFrame();
  if (frame == nullptr) return Fail("no window");
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_MYPICTURES, FALSE)) return Fail("no picture folder");
  const std::wstring away = std::wstring(folder) + L".away";
  if (!MoveFileW(folder, away.c_str())) return Fail("could not move the picture folder away");
  HANDLE blocker = CreateFileW(folder, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (blocker != INVALID_HANDLE_VALUE) CloseHandle(blocker);
  SetForegroundWindow(frame);
  Sleep(200);
  // Held until the report comes (the window looks at the key once a frame),
  // and let go before the report is closed, so one press is one report.
  PressKey(VK_F4, true);
  HWND box = nullptr;
  for (int waited = 0; waited < 10000 && box == nullptr; waited += 50) {
    Sleep(50);
    box = FindWindowW(kDialogClass, L"Railwick");
  }
  PressKey(VK_F4, false);
  const std::wstring text = box ? TextOf(GetDlgItem(box, kMessageTextControl)) : L"";
  if (box) PressButton(box, IDOK);
  Sleep(300);
  DeleteFileW(folder);
  MoveFileW(away.c_str(), folder);
  if (box == nullptr) return Fail("a failed screenshot was not reported");
  PrintWide("reported", text);
  return text.rfind(L"スクリーンショットを保存できませんでした。", 0) == 0
             ? 0
             : Fail("not the screenshot message");
}

int Notice(const std::wstring& first, const std::wstring& path) {
  std::wstring text;
  if (!TakeMessageBox(L"Railwick", text)) return Fail("no notice \"Railwick\"");
  if (text == first + L"\n" + path) return 0;
  PrintWide("notice", text);
  return Fail("not the expected notice");
}

}  // namespace

int RunPreviewCommand(int argc, wchar_t** argv) {
  const std::wstring command = argv[1];
  if (command == L"workshop-name" && argc == 4) return WorkshopName(argv[2], argv[3]);
  if (command == L"workshop-cancel") return WorkshopCancel();
  if (command == L"environment-readonly" && argc == 3) return EnvironmentReadOnly(argv[2]);
  if (command == L"open-project" && argc == 3) return OpenProject(argv[2]);
  if (command == L"make-data" && argc == 4) return MakeData(argv[2], argv[3]);
  if (command == L"capture" && argc == 3) return Capture(argv[2]);
  if (command == L"key" && argc == 3) return Key(argv[2][0]);
  if (command == L"drag" && argc >= 4) return Drag(_wtoi(argv[2]), _wtoi(argv[3]), argc > 4 ? argv[4] : L"");
  if (command == L"esc-after-dialog") return EscAfterDialog();
  if (command == L"screenshot-skip") return ScreenshotSkip();
  if (command == L"status-line") return StatusLine();
  if (command == L"rate-at-most" && argc == 3) return RateAtMost(_wtof(argv[2]));
  if (command == L"clock-pauses") return ClockPausesWhileMinimised();
  if (command == L"screenshot-failure") return ScreenshotFailure();
  if (command == L"notice" && argc == 4) return Notice(argv[2], argv[3]);
  return 2;
}
