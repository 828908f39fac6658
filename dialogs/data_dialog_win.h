// The modal data dialogs, owned by the frame window, on the one project.
#pragma once
#include <windows.h>

#include "project/vehicle_project.h"

// A data dialog of templates 122 to 130 or 140; 1 after OK (the project
// written), 0 after Cancel (the project as it was).
int OpenDataDialog(HINSTANCE instance, HWND owner, int template_id, VehicleProject& project);
// The container places (template 143, which opens 144 for one place).
int OpenContainerDialog(HINSTANCE instance, HWND owner, VehicleProject& project);
// The About box (template 142) with the program's version strings.
void ShowAboutDialog(HINSTANCE instance, HWND owner);
