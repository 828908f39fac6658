// Every file a project's data depends on: the project file, its images and
// sounds, its models, their material libraries and the textures those name.
// `railwick watch` rebuilds when one of them changes.
#pragma once
#include <string>
#include <vector>

#include "project/vehicle_project.h"

#include <functional>

// Calls `visit` for every non-empty path field: its key, the path, and
// whether it is a checked image or sound (else a model).
void ForEachPathField(const VehicleProject& p,
                      const std::function<void(const char16_t* key, const std::u16string& path, bool checked)>& visit);

// The project file (absolute) and every file its data is made from: paths
// resolve against the project's folder (else the project file's), model
// libraries against their model, textures wherever the model reader looks.
// Names of missing files are listed too, so that their creation is seen.
std::vector<std::u16string> ReferencedFiles(const VehicleProject& p, const std::u16string& project_file);
