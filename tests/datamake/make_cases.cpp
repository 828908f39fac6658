// check, make and script over the projects of tests/data/check_make: what
// check prints of each (expected.txt) and what each command answers
// (commands.txt); then the files a make leaves and the ways it can stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <unistd.h>
#endif

#include "compiler/data_file.h"
#include "datamake/live_build.h"
#include "project/project_file.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

// A copy of the cases with an empty output folder.
std::u16string CopyCases() {
  const std::u16string target = CopySourceFolder("tests/data/check_make", true);
  FsCreateDirectory(target + u"out");
  return target;
}

// Every file below the folder with a hash of its bytes.
std::map<std::string, size_t> Files(const std::u16string& folder) {
  std::map<std::string, size_t> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(U8(folder))))
    files[entry.path().u8string()] = std::hash<std::string>()(ReadTestFile(U16(entry.path().u8string())));
  return files;
}

void SetWorkshopVariable(const char* value) {
#ifdef _WIN32
  // The wide environment, as a shell hands a UTF-8 name to the program.
  const std::u16string setting = u"RAILWICK_WORKSHOP=" + Utf8ToUtf16(value ? value : "");
  _wputenv(std::wstring(setting.begin(), setting.end()).c_str());
#else
  if (value) setenv("RAILWICK_WORKSHOP", value, 1);
  else unsetenv("RAILWICK_WORKSHOP");
#endif
}

// Check against make, and the live preview's build that writes nothing.
TEST(CheckAndMake, AgreeOverBrokenProjects) {
  const std::u16string folder = CopyCases();
  const auto rows = CaseRows("check_make/expected.txt");
  for (const auto& row : rows) {
    const std::string project = U8(folder + U16(row[0]));
    const ToolRun check = RunTool({"check", project});
    const ToolRun make = RunTool({"make", project, "--workshop", "W"});
    const bool ready = row[1].empty() || row[1].find(": warning: ") != std::string::npos;
    EXPECT_EQ(check.status, ready ? 0 : 1) << row[0] << "\n" << check.out;
    EXPECT_EQ(make.status, check.status) << row[0] << "\n" << make.out << make.err;
    EXPECT_NE(check.out.find(row[1]), std::string::npos) << row[0] << "\n" << check.out;
    if (row.size() < 3) continue;
    VehicleProject p;
    ReadProjectFile(p, U16(project));
    p.maker.Set(u"W");
    const auto before = Files(folder);
    LiveBuild build = RunLiveBuild(p, nullptr);
    const std::string line = U8(LiveFailureLine(build));
    EXPECT_EQ(line.substr(0, row[2].size()), row[2]) << row[0];
    EXPECT_EQ(build.compiler != nullptr, line.empty()) << row[0];
    EXPECT_FALSE(build.report.empty()) << row[0];
    EXPECT_EQ(Files(folder), before) << row[0];
    if (build.compiler) ResetCompiler(*build.compiler);
  }
  EXPECT_GT(rows.size(), 13u);
  // A project never saved has no folder for its relative names: the build
  // says so first, and there is nothing to watch.
  VehicleProject p;
  ReadProjectFile(p, folder + u"good.xml");
  p.maker.Set(u"W");
  const std::vector<std::u16string> watched = LiveWatchFiles(p, folder + u"good.xml");
  for (const char16_t* name : {u"good.xml", u"good.obj", u"good.mtl", u"tex.png", u"main.png"})
    EXPECT_NE(std::find(watched.begin(), watched.end(), folder + name), watched.end()) << U8(name);
  p.folder.clear();
  const std::u16string unsaved = LiveFailureLine(RunLiveBuild(p, nullptr));
  EXPECT_NE(unsaved.find(u"件: プロジェクトが保存されていないため"), std::u16string::npos) << U8(unsaved);
  EXPECT_TRUE(LiveWatchFiles(p, u"").empty());
}

TEST(MakeCommands, Cases) {
  SetWorkshopVariable(nullptr);
  const std::u16string folder = CopyCases();
  const auto rows = CaseRows("check_make/commands.txt");
  for (const auto& row : rows) {
    std::vector<std::string> args(row.begin() + 3, row.end());
    for (std::string& arg : args)
      if (arg.rfind("$F", 0) == 0) arg = U8(folder) + arg.substr(2);
    const std::string& text = row[2];
    const auto before = Files(folder);
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, std::stoi(row[0])) << row[3] << " " << row[4] << "\n" << run.out << run.err;
    EXPECT_NE((row[1] == "out" ? run.out : run.err).find(text), std::string::npos) << run.out << run.err;
    // "+" after the status: the models were converted before the stop.
    for (const auto& [name, hash] : Files(folder)) {
      const bool mesh = row[0].back() == '+' && name.size() > 4 && name.substr(name.size() - 4) == ".3dd";
      EXPECT_TRUE(mesh || (before.count(name) && before.at(name) == hash)) << name;
    }
  }
  EXPECT_GT(rows.size(), 20u);
}

TEST(MakeCommands, MakeAndTheScriptItWritesGiveTheSameFile) {
  SetWorkshopVariable(nullptr);
  const std::u16string folder = CopyCases();
  TempFolder elsewhere;  // relative names in the project still mean its own folder
  ScopedCurrentFolder here(elsewhere.path());
  ResetProcessRandom();
  const std::string project = U8(folder + u"good.xml");
  const ToolRun run = RunTool({"make", project, "-o", "out/deep", "--workshop", "工房"});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.find("checking the project"), std::string::npos);  // progress lines go to a terminal only
  const std::u16string data_file = elsewhere / u"out/deep/CM-1.z5t";
  std::u16string shown = data_file;
  std::replace(shown.begin(), shown.end(), u'/', FsSeparator());
  EXPECT_NE(run.out.find("data file: " + U8(shown) + "\n"), std::string::npos) << run.out;
  EXPECT_EQ(RunTool({"verify", U8(data_file)}).status, 0);
  EXPECT_FALSE(FsFileExists(folder + u"CM-1.txt"));  // no script left behind

  // The script command writes what make compiled, and never over a script.
  ToolRun script = RunTool({"script", project, "--workshop", "工房"});
  ASSERT_EQ(script.status, 0) << script.err;
  EXPECT_EQ(script.out, "script: " + U8(folder + u"CM-1.txt") + "\n");
  ResetProcessRandom();
  ASSERT_EQ(RunTool({"compile", U8(folder + u"CM-1.txt"), "-o", U8(elsewhere / u"again.z5t")}).status, 0);
  EXPECT_EQ(ReadTestFile(elsewhere / u"again.z5t"), ReadTestFile(data_file));
  const ToolRun again = RunTool({"script", project, "--workshop", "工房"});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("exists already"), std::string::npos);
  // Written elsewhere, the script names the project's files from there.
  FsCreateDirectory(elsewhere / u"sub");
  EXPECT_EQ(RunTool({"script", project, "--workshop", "工房", "-o", U8(elsewhere / u"sub/s.txt")}).status, 0);
  ResetProcessRandom();
  ASSERT_EQ(RunTool({"compile", U8(elsewhere / u"sub/s.txt"), "-o", U8(elsewhere / u"moved.z5t")}).status, 0);
  EXPECT_EQ(ReadTestFile(elsewhere / u"moved.z5t"), ReadTestFile(data_file));

  // The workshop name may come from the environment.
  SetWorkshopVariable("環境の工房");
  ASSERT_EQ(RunTool({"make", project}).status, 0);
  SetWorkshopVariable(nullptr);
  const std::string file = ReadTestFile(folder + u"out/CM-1.z5t");
  std::vector<uint8_t> stream;
  std::string error;
  ASSERT_TRUE(OpenDataFile(std::vector<uint8_t>(file.begin(), file.end()), stream, error)) << error;
  std::string name_utf16le;
  for (char16_t c : std::u16string(u"環境の工房")) name_utf16le += {static_cast<char>(c), static_cast<char>(c >> 8)};
  EXPECT_NE(std::string(stream.begin(), stream.end()).find(name_utf16le), std::string::npos);
}

#ifndef _WIN32
// The tool killed at a few moments of a make of a large model; a later make
// succeeds and no script or temporary file is left behind.
TEST(MakeCommands, AnInterruptedMakeLeavesNothingBehind) {
  const std::u16string folder = CopyCases();
  std::string obj = "mtllib good.mtl\ng body\nusemtl m\nvt 0 0\nvt 1 0\nvt 1 1\n";
  const int n = 120;  // within the reader's 50,000 corners
  for (int i = 0; i < n * n; ++i) obj += "v " + std::to_string(i % n) + " " + std::to_string(i / n) + " 0\n";
  for (int i = 0; i + n + 1 < n * n; ++i)
    obj += "f " + std::to_string(i + 1) + "/1 " + std::to_string(i + 2) + "/2 " + std::to_string(i + n + 2) + "/3\n";
  WriteTestFile(folder + u"good.obj", obj);
  const std::string tool = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "railwick";
  const std::string project = U8(folder + u"good.xml");
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    for (int ms : {0, 5, 20, 80}) {
      pid_t pid = fork();
      if (pid == 0) {
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execl(tool.c_str(), "railwick", "make", project.c_str(), "--workshop", "W", nullptr);
        _exit(127);
      }
      usleep(ms * 1000);
      kill(pid, sig);
      WaitForChild(pid, 20);
    }
  }
  const ToolRun make = RunTool({"make", project, "--workshop", "W"});
  EXPECT_EQ(make.status, 0) << make.out << make.err;
  for (const auto& [name, bytes] : Files(folder)) {
    EXPECT_EQ(name.find("CM-1.txt"), std::string::npos);
    EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
  }
}
#endif

}  // namespace
