// A window whose messages arrive as virtual calls with unpacked arguments.
// Every default rebuilds the message's parameters at their full width and
// hands them to DefWindowProcW.
#pragma once
#include <windows.h>

class CWindow {
 public:
  virtual ~CWindow() = default;

  virtual LRESULT OnLButtonDown(HWND window, BOOL double_click, int x, int y, UINT keys);
  virtual LRESULT OnLButtonUp(HWND window, int x, int y, UINT keys);
  virtual LRESULT OnNcLButtonUp(HWND window, int x, int y, UINT hit_test);
  virtual LRESULT OnRButtonDown(HWND window, BOOL double_click, int x, int y, UINT keys);
  virtual LRESULT OnRButtonUp(HWND window, int x, int y, UINT keys);
  virtual LRESULT OnMButtonDown(HWND window, BOOL double_click, int x, int y, UINT keys);
  virtual LRESULT OnMButtonUp(HWND window, int x, int y, UINT keys);
  virtual LRESULT OnMouseMove(HWND window, int x, int y, UINT keys);
  virtual LRESULT OnMouseWheel(HWND window, int x, int y, int delta, UINT keys);
  virtual LRESULT OnNcMouseMove(HWND window, int x, int y, UINT hit_test);
  virtual LRESULT OnKey(HWND window, UINT virtual_key, BOOL down, int repeat, UINT key_flags);
  virtual LRESULT OnMouseActivate(HWND window, HWND top_level, UINT hit_test, UINT mouse_message);
  virtual LRESULT OnPaint(HWND window);
  virtual LRESULT OnMove(HWND window, int x, int y);
  virtual LRESULT OnSize(HWND window, UINT size_type, int width, int height);
  virtual LRESULT OnGetMinMaxInfo(HWND window, MINMAXINFO* info);
  virtual LRESULT OnSetCursor(HWND window, HWND cursor_window, UINT hit_test, UINT mouse_message);
  virtual LRESULT OnEnterMenuLoop(HWND window, BOOL popup);
  virtual LRESULT OnExitMenuLoop(HWND window, BOOL popup);
  virtual LRESULT OnContextMenu(HWND window, HWND clicked, int x, int y);
  virtual LRESULT OnCommand(HWND window, int id, HWND control, UINT code);
  virtual LRESULT OnActivate(HWND window, UINT state, HWND other, BOOL minimised);
  virtual LRESULT OnNcHitTest(HWND window, int x, int y);
  virtual LRESULT OnExitSizeMove(HWND window);
  virtual LRESULT OnEraseBkgnd(HWND window, HDC dc);
  virtual LRESULT OnSizing(HWND window, UINT edge, RECT* rect);
  virtual LRESULT OnEnable(HWND window, BOOL enabled);
};

// Coordinates packed in an lParam: the signed low and high words.
inline int LowX(LPARAM l) {
  return static_cast<short>(LOWORD(l));
}
inline int HighY(LPARAM l) {
  return static_cast<short>(HIWORD(l));
}
inline LPARAM PackPoint(int x, int y) {
  return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}
