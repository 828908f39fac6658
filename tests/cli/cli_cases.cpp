// The railwick command as a user runs it: every tests/data/cli/NAME.txt
// holds sections of set-up lines, command lines ("run ARGS") and what each
// must give (the directives are listed in tests/data/cli/README).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/case_text.h"

namespace {

void RunSection(const std::vector<std::string>& lines, std::u16string& folder) {
  ToolRun run;
  std::map<std::string, std::string> before;  // files a `kept` line names, as the run found them
  for (const std::string& line : lines) {
    const std::vector<std::string> w = CaseWords(line);
    if (w.empty() || w[0][0] == '#' || CaseSetUp(line, folder)) continue;
    SCOPED_TRACE(line);
    if (w[0] == "examples") {  // the rest of the file runs in a copy of examples/
      folder = CopyExamples();
    } else if (w[0] == "run") {
      std::vector<std::string> args;
      for (size_t i = 1; i < w.size(); ++i) args.push_back(CaseText(w[i], folder));
      for (const std::string& l : lines)
        if (l.rfind("kept ", 0) == 0) before[l.substr(5)] = ReadTestFile(folder + U16(l.substr(5)));
      run = RunTool(args);
    } else if (w[0] == "status") {
      EXPECT_EQ(run.status, std::stoi(w[1])) << run.out << run.err;
    } else if (w[0] == "kept") {
      EXPECT_EQ(ReadTestFile(folder + U16(w[1])), before[w[1]]);
    } else if (!CaseCheck(line, "out", run.out, folder) && !CaseCheck(line, "err", run.err, folder)) {
      ADD_FAILURE() << "unknown directive";
    }
  }
}

TEST(CliCases, EveryCommandLineGivesItsStatusOutputAndFiles) {
  const std::filesystem::path cases(U8(SourcePath("tests/data/cli")));
  int sections = 0;
  for (const auto& entry : std::filesystem::directory_iterator(cases)) {
    if (entry.path().extension() != ".txt") continue;
    std::u16string folder = MakeTempFolder();
    for (const auto& [title, lines] : ReadCaseSections(U16(entry.path().generic_string()))) {
      SCOPED_TRACE(entry.path().filename().string() + ": " + title);
      RunSection(lines, folder);
      ++sections;
    }
  }
  EXPECT_GE(sections, 30);
}

}  // namespace
