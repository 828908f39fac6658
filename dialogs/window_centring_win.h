// Every window the main window owns (dialogs, message boxes, the file and
// folder choosers) opens centred on it, whoever made the window.
#pragma once
#include <windows.h>

// Watches the calling thread's windows as they are first activated; each
// owned, directly or not, by `main` is centred on it once.
void CentreOwnedWindowsOn(HWND main);
// Stops watching.
void StopCentringWindows();
