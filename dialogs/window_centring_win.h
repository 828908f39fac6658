// Every window the main window owns (dialogs, message boxes, the file and
// folder choosers) opens centred on it, whoever made the window.
#pragma once
#include <windows.h>

// Watches the calling thread's windows as they are first activated; each
// owned, directly or not, by `main` is centred on it once. Before any
// top-level window of the thread is created, `before_open` runs when given:
// the frame lets Direct3D finish its queued frames there.
void CentreOwnedWindowsOn(HWND main, void (*before_open)() = nullptr);
// Stops watching.
void StopCentringWindows();
