// A project's paths as places on disk: which input an output would replace,
// and the paths rewritten for a script that lies in another folder.
#pragma once
#include <string>

#include "project/vehicle_project.h"

// The file a build of `p` reads (the project file, images, sounds, models,
// their material libraries and textures) that `output` would replace, or
// empty when it replaces none.
std::u16string InputAt(const VehicleProject& p, const std::u16string& project_file,
                       const std::u16string& output);

// Rewrites every relative path of `p` (the output folder too) so it names
// the same file from `folder`, the folder of a script written elsewhere, and
// makes that the project's folder. False, with nothing changed, when a
// rewritten path would not fit its field.
bool RebaseProjectPaths(VehicleProject& p, const std::u16string& folder);
