#include "dialogs/window_centring_win.h"

#include <algorithm>
#include <vector>

#include "dialogs/window_placement.h"

namespace {

HHOOK g_hook = nullptr;
HWND g_main = nullptr;
void (*g_before_open)() = nullptr;
std::vector<HWND> g_centred;  // open windows already placed; a later activation leaves them be

// Some windows (the file dialogs) still change their size after they are
// first shown: for a little while, one whose size changed is centred anew.
struct Settling {
  HWND window;
  SIZE size;
};
std::vector<Settling> g_settling;
UINT_PTR g_settle_timer = 0;
int g_settle_ticks = 0;
constexpr UINT kSettleTickMs = 100;
constexpr int kSettleTicks = 6;

PlacementRect ToPlacement(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// Centres `window` on the main window; its size, or {0, 0} when it has none.
SIZE Centre(HWND window) {
  RECT owner = {}, own = {};
  if (!GetWindowRect(g_main, &owner) || !GetWindowRect(window, &own)) return {};
  const SIZE size = {own.right - own.left, own.bottom - own.top};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(g_main, MONITOR_DEFAULTTONEAREST), &monitor)) return size;
  int x = 0, y = 0;
  CentredOn(ToPlacement(owner), size.cx, size.cy, ToPlacement(monitor.rcWork), x, y);
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return size;
}

void CALLBACK SettleTick(HWND, UINT, UINT_PTR, DWORD) {
  for (Settling& s : g_settling) {
    RECT own = {};
    if (!IsWindow(s.window) || !GetWindowRect(s.window, &own)) continue;
    if (own.right - own.left != s.size.cx || own.bottom - own.top != s.size.cy) s.size = Centre(s.window);
  }
  if (++g_settle_ticks >= kSettleTicks) {
    KillTimer(nullptr, g_settle_timer);
    g_settle_timer = 0;
    g_settling.clear();
  }
}

void CentreOnce(HWND window) {
  if (window == g_main || !IsWindow(g_main) || GetAncestor(window, GA_ROOTOWNER) != g_main) return;
  if (std::find(g_centred.begin(), g_centred.end(), window) != g_centred.end()) return;
  g_centred.push_back(window);
  g_settling.push_back({window, Centre(window)});
  g_settle_ticks = 0;
  if (!g_settle_timer) g_settle_timer = SetTimer(nullptr, 0, kSettleTickMs, SettleTick);
}

LRESULT CALLBACK CentringHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lparam);
    if (g_before_open && !(create->lpcs->style & WS_CHILD)) g_before_open();
  } else if (code == HCBT_ACTIVATE) {
    CentreOnce(reinterpret_cast<HWND>(wparam));
  } else if (code == HCBT_DESTROYWND) {
    const HWND gone = reinterpret_cast<HWND>(wparam);
    g_centred.erase(std::remove(g_centred.begin(), g_centred.end(), gone), g_centred.end());
    g_settling.erase(std::remove_if(g_settling.begin(), g_settling.end(),
                                    [gone](const Settling& s) { return s.window == gone; }),
                     g_settling.end());
  }
  return CallNextHookEx(g_hook, code, wparam, lparam);
}

}  // namespace

void CentreOwnedWindowsOn(HWND main, void (*before_open)()) {
  StopCentringWindows();
  g_main = main;
  g_before_open = before_open;
  g_hook = SetWindowsHookExW(WH_CBT, CentringHook, nullptr, GetCurrentThreadId());
}

void StopCentringWindows() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  if (g_settle_timer) KillTimer(nullptr, g_settle_timer);
  g_settle_timer = 0;
  g_settling.clear();
  g_main = nullptr;
  g_before_open = nullptr;
  g_centred.clear();
}
