// The texts of the report window that Make data opens: the line saying
// whether a data file was written, and the list of every problem when more
// than one stopped the run.
#pragma once
#include <string>
#include <vector>

#include "datamake/check_project.h"

// "データファイルを作成しました：PATH", or that none was written when
// `written_file` is empty.
std::u16string DataFileOutcome(const std::u16string& written_file);

// How many of `problems` stop Make data (warnings do not).
size_t StoppingProblems(const std::vector<ProjectProblem>& problems);

// A heading with the count of stopping problems, then every problem on a
// line of its own as `railwick check` prints it; CR LF line ends.
std::u16string ProblemsReport(const std::vector<ProjectProblem>& problems);
