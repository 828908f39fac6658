// Every problem of a project at once: the validation checks, the checks of
// the script writer, and the files the project names. Make data stops at
// the first of them; `railwick check` lists them all.
#pragma once
#include <string>
#include <vector>

#include "project/project_file.h"
#include "project/vehicle_project.h"

struct ProjectProblem {
  std::u16string field;    // the project-file key
  std::u16string message;  // the message Make data would show
};

// `read`, when given, adds the images and sounds the reader left out.
std::vector<ProjectProblem> CheckProject(const VehicleProject& p, const ProjectReadReport* read = nullptr);
