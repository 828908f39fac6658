// How a project file keeps the paths it names, so that a project folder
// can be moved, copied or checked in and still find its files.
#pragma once
#include <string>

#include "project/vehicle_project.h"

// Rewrites every path of `p` (the output folder too) as a project file in
// `folder` (absolute, with its trailing separator) keeps it, and makes
// `folder` the project's: a path in that folder or below it becomes
// relative to it with '\' separators (the folder itself "."), any other path
// absolute. Relative paths are first read against the project's own folder;
// without one they stay as they are, as does a path whose new form would not
// fit its field. A relative `folder` leaves every path alone. Applying it
// twice with one folder changes nothing more.
void StorePathsFor(VehicleProject& p, const std::u16string& folder);
