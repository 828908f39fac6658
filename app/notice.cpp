#include "app/notice.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>

#include "app/app_globals.h"

AppGlobals& App() {
  static AppGlobals globals;
  return globals;
}

void ShowNotice(const wchar_t* format, ...) {
  if (App().notice_shown) return;
  App().notice_shown = true;
  wchar_t text[4096];
  va_list args;
  va_start(args, format);
  _vsnwprintf(text, 4095, format, args);
  va_end(args);
  text[4095] = 0;
  // The frame owns the box while its window exists; before it is made and
  // after it is gone there is no owner.
  HWND owner = App().frame_window;
  if (owner && !IsWindow(owner)) owner = nullptr;
  MessageBoxW(owner, text, L"Railwick", MB_OK);
}
