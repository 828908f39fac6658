#include "app/window.h"

namespace {

WPARAM Handle(HWND h) {
  return reinterpret_cast<WPARAM>(h);
}

}  // namespace

LRESULT CWindow::OnLButtonDown(HWND w, BOOL dbl, int x, int y, UINT keys) {
  return DefWindowProcW(w, dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, keys, PackPoint(x, y));
}
LRESULT CWindow::OnLButtonUp(HWND w, int x, int y, UINT keys) {
  return DefWindowProcW(w, WM_LBUTTONUP, keys, PackPoint(x, y));
}
LRESULT CWindow::OnNcLButtonUp(HWND w, int x, int y, UINT hit) {
  return DefWindowProcW(w, WM_NCLBUTTONUP, hit, PackPoint(x, y));
}
LRESULT CWindow::OnRButtonDown(HWND w, BOOL dbl, int x, int y, UINT keys) {
  return DefWindowProcW(w, dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN, keys, PackPoint(x, y));
}
LRESULT CWindow::OnRButtonUp(HWND w, int x, int y, UINT keys) {
  return DefWindowProcW(w, WM_RBUTTONUP, keys, PackPoint(x, y));
}
LRESULT CWindow::OnMButtonDown(HWND w, BOOL dbl, int x, int y, UINT keys) {
  return DefWindowProcW(w, dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN, keys, PackPoint(x, y));
}
LRESULT CWindow::OnMButtonUp(HWND w, int x, int y, UINT keys) {
  return DefWindowProcW(w, WM_MBUTTONUP, keys, PackPoint(x, y));
}
LRESULT CWindow::OnMouseMove(HWND w, int x, int y, UINT keys) {
  return DefWindowProcW(w, WM_MOUSEMOVE, keys, PackPoint(x, y));
}
LRESULT CWindow::OnMouseWheel(HWND w, int x, int y, int delta, UINT keys) {
  return DefWindowProcW(w, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
                        PackPoint(x, y));
}
LRESULT CWindow::OnNcMouseMove(HWND w, int x, int y, UINT hit) {
  return DefWindowProcW(w, WM_NCMOUSEMOVE, hit, PackPoint(x, y));
}
LRESULT CWindow::OnKey(HWND w, UINT vk, BOOL down, int repeat, UINT flags) {
  LPARAM data =
      static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(repeat), static_cast<WORD>(flags))));
  return DefWindowProcW(w, down ? WM_KEYDOWN : WM_KEYUP, vk, data);
}
LRESULT CWindow::OnMouseActivate(HWND w, HWND top, UINT hit, UINT message) {
  return DefWindowProcW(w, WM_MOUSEACTIVATE, Handle(top), MAKELPARAM(hit, message));
}
LRESULT CWindow::OnPaint(HWND w) {
  return DefWindowProcW(w, WM_PAINT, 0, 0);
}
LRESULT CWindow::OnMove(HWND w, int x, int y) {
  return DefWindowProcW(w, WM_MOVE, 0, PackPoint(x, y));
}
LRESULT CWindow::OnSize(HWND w, UINT type, int width, int height) {
  return DefWindowProcW(w, WM_SIZE, type, PackPoint(width, height));
}
LRESULT CWindow::OnGetMinMaxInfo(HWND w, MINMAXINFO* info) {
  return DefWindowProcW(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(info));
}
LRESULT CWindow::OnSetCursor(HWND w, HWND cursor_window, UINT hit, UINT message) {
  return DefWindowProcW(w, WM_SETCURSOR, Handle(cursor_window), MAKELPARAM(hit, message));
}
LRESULT CWindow::OnEnterMenuLoop(HWND w, BOOL popup) {
  return DefWindowProcW(w, WM_ENTERMENULOOP, popup, 0);
}
LRESULT CWindow::OnExitMenuLoop(HWND w, BOOL popup) {
  return DefWindowProcW(w, WM_EXITMENULOOP, popup, 0);
}
LRESULT CWindow::OnContextMenu(HWND w, HWND clicked, int x, int y) {
  return DefWindowProcW(w, WM_CONTEXTMENU, Handle(clicked), PackPoint(x, y));
}
LRESULT CWindow::OnCommand(HWND w, int id, HWND control, UINT code) {
  return DefWindowProcW(w, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}
LRESULT CWindow::OnActivate(HWND w, UINT state, HWND other, BOOL minimised) {
  return DefWindowProcW(w, WM_ACTIVATE, MAKEWPARAM(state, minimised), reinterpret_cast<LPARAM>(other));
}
LRESULT CWindow::OnNcHitTest(HWND w, int x, int y) {
  return DefWindowProcW(w, WM_NCHITTEST, 0, PackPoint(x, y));
}
LRESULT CWindow::OnExitSizeMove(HWND w) {
  return DefWindowProcW(w, WM_EXITSIZEMOVE, 0, 0);
}
LRESULT CWindow::OnEraseBkgnd(HWND w, HDC dc) {
  return DefWindowProcW(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
}
LRESULT CWindow::OnSizing(HWND w, UINT edge, RECT* rect) {
  return DefWindowProcW(w, WM_SIZING, edge, reinterpret_cast<LPARAM>(rect));
}
LRESULT CWindow::OnEnable(HWND w, BOOL enabled) {
  return DefWindowProcW(w, WM_ENABLE, enabled, 0);
}
