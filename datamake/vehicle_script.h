// Writes a validated project out as a vehicle script: Shift-JIS text, one
// command per line, CR LF line ends.
#pragma once
#include <cstdint>
#include <string>

#include "datamake/script_lines.h"
#include "datamake/validate.h"
#include "project/notifier.h"
#include "project/vehicle_project.h"

// Builds the whole script in memory. A project text that the script cannot
// carry (a double quote, a control character such as tab, CR or LF, or a
// character Shift-JIS lacks), a category or a bogie type the tables lack,
// shows its message and gives false. `lines`, when given, receives
// which project field and file each line names.
bool BuildVehicleScript(const VehicleProject& p, MainTextureSize texture, std::string& script,
                        Notifier& notifier, ScriptLineMap* lines = nullptr);
