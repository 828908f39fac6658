// The checks start-up makes before anything is created.
#pragma once
#include <windows.h>

// OS class: 0 unknown or Win32s, 3 Windows 9x (4.0 on), 1 NT 3, 2 NT 4, 5 NT 5
// and later. Only class 4 and above run the tool.
int ClassifyOs(DWORD platform_id, DWORD major_version);
// The running system's class, from its true version.
int CurrentOsClass();
// Bits per pixel times planes of the screen.
int ScreenColourDepth();

// Takes the single-instance mutex. False when another instance holds it; that
// instance's window, when it is a live window of the frame's class, is then
// restored, brought to the front and sent the activation message.
bool ClaimSingleInstance(HANDLE* mutex);
