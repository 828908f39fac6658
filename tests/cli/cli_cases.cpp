// The railwick command as a user runs it: every tests/data/cli/NAME.txt
// holds sections of set-up lines, command lines ("run ARGS") and what each
// must give (the directives are listed in tests/data/cli/README).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "compiler/data_file.h"
#include "platform/fs.h"
#include "tests/case_text.h"
#include "tests/test_model_commands_fixture.h"

namespace {

size_t Count(const std::string& text, const std::string& piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

void RunSection(const std::vector<std::string>& lines, std::u16string& folder) {
  ToolRun run;
  std::map<std::string, std::string> before;  // files a `kept` line names, as the run found them
  for (const std::string& line : lines) {
    const std::vector<std::string> w = CaseWords(line);
    if (w.empty() || w[0][0] == '#') continue;
    SCOPED_TRACE(line);
    const std::string& op = w[0];
    const std::string arg = w.size() > 1 ? CaseText(w[1], folder) : "";
    const std::u16string path = folder + U16(arg);
    const std::string rest = CaseText(CaseRest(line, 1), folder);
    if (op == "file") {
      WriteTestFile(path, CaseBytes(CaseRest(line, 2)));
    } else if (op == "append") {
      WriteTestFile(path, ReadTestFile(path) + CaseBytes(CaseRest(line, 2)));
    } else if (op == "copy") {  // copy SOURCE-RELATIVE-PATH NAME
      WriteTestFile(folder + U16(w[2]), ReadTestFile(SourcePath(w[1])));
    } else if (op == "examples") {  // the rest of the file runs in a copy of examples/
      folder = CopyExamples();
    } else if (op == "edit") {  // edit FROM TO OLD => NEW
      std::string text = ReadTestFile(path);
      const std::string change = CaseRest(line, 3), old = change.substr(0, change.find(" => "));
      const size_t at = text.find(old);
      ASSERT_NE(at, std::string::npos);
      WriteTestFile(folder + U16(w[2]), text.replace(at, old.size(), change.substr(old.size() + 4)));
    } else if (op == "dir") {
      FsCreateDirectory(path);
    } else if (op == "triangle") {
      WriteTriangleModel(folder, arg);
    } else if (op == "datafile") {  // datafile NAME SEED STREAM-WORDS
      const std::vector<uint8_t> stream = CaseStream(std::vector<std::string>(w.begin() + 3, w.end()), folder);
      const std::vector<uint8_t> file = BuildDataFile(stream.data(), stream.size(), std::stoul(w[2]));
      WriteTestFile(path, std::string(file.begin(), file.end()));
    } else if (op == "flip" || op == "cut") {  // flip NAME OFFSET, cut NAME SIZE
      std::string bytes = ReadTestFile(path);
      const size_t at = std::stoul(w[2]);
      if (op == "flip") bytes[at] ^= 1;
      else bytes.resize(at);
      WriteTestFile(path, bytes);
    } else if (op == "run") {
      std::vector<std::string> args;
      for (size_t i = 1; i < w.size(); ++i) args.push_back(CaseText(w[i], folder));
      for (const std::string& l : lines)
        if (l.rfind("kept ", 0) == 0) before[l.substr(5)] = ReadTestFile(folder + U16(l.substr(5)));
      run = RunTool(args);
    } else if (op == "status") {
      EXPECT_EQ(run.status, std::stoi(arg)) << run.out << run.err;
    } else if (op == "out" || op == "err") {
      const std::string& text = op == "out" ? run.out : run.err;
      EXPECT_NE(text.find(rest), std::string::npos) << text;
    } else if (op == "out-is" || op == "err-is") {
      EXPECT_EQ(op == "out-is" ? run.out : run.err, rest);
    } else if (op == "out-lacks") {
      EXPECT_EQ(run.out.find(rest), std::string::npos) << run.out;
    } else if (op == "out-starts" || op == "err-starts") {
      const std::string& text = op == "out-starts" ? run.out : run.err;
      EXPECT_EQ(text.rfind(rest, 0), 0u) << text;
    } else if (op == "out-count") {  // out-count N TEXT
      EXPECT_EQ(Count(run.out, CaseText(CaseRest(line, 2), folder)), std::stoul(arg)) << run.out;
    } else if (op == "exists" || op == "absent") {
      EXPECT_EQ(FsFileExists(path), op == "exists");
    } else if (op == "kept") {
      EXPECT_EQ(ReadTestFile(path), before[w[1]]);
    } else {
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
