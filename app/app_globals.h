// Process-wide objects of the program, each made once at start-up.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/resource_pack.h"

class CFrame;

struct AppGlobals {
  HANDLE instance_mutex = nullptr;
  int os_class = 0;
  uint32_t directx_version = 0;
  HINSTANCE instance = nullptr;
  ResourcePack* resource_pack = nullptr;
  CFrame* frame = nullptr;
  HWND frame_window = nullptr;
  bool notice_shown = false;
};

AppGlobals& App();
