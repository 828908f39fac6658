// Every problem of a project at once: the validation checks, the checks of
// the script writer, the files the project names, a whole compilation that
// writes nothing, and the output folder. Make data stops at the first of
// them; `railwick check` lists them all.
#pragma once
#include <string>
#include <vector>

#include "project/project_file.h"
#include "project/vehicle_project.h"

struct ProjectProblem {
  std::u16string field;    // the project-file key; for a compiler message the
                           // field and its file ("truck1 model (models\frame.obj)"); may be empty
  std::u16string message;  // the message Make data would show or log
  bool warning = false;    // worth saying, but Make data still makes the data file
};

struct MakeDataResult;

// The compiler's messages of a run that writes nothing, as `check` lists
// them; when the compilation failed, at least one error.
void AddCompilerProblems(const MakeDataResult& run, std::vector<ProjectProblem>& problems);

// `read`, when given, adds the images and sounds the reader left out.
// Make data fails exactly when a problem that is no warning is listed.
std::vector<ProjectProblem> CheckProject(const VehicleProject& p, const ProjectReadReport* read = nullptr);

// One problem as `railwick check` prints it and Make data lists it:
// "field: message", "warning: " before the message of a warning, the
// message's line breaks turned into spaces.
std::u16string ProblemLine(const ProjectProblem& problem);
