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

std::vector<std::u16string> ReferencedFiles(const VehicleProject& p, const std::u16string& project_file);
