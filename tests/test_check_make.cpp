// check against make over broken projects (tests/data/check_make, with the
// substring each check must print in expected.txt), outputs that would
// replace an input, and a make that is interrupted.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <unistd.h>
#endif

#include "datamake/live_build.h"
#include "datamake/make_data_report.h"
#include "project/project_file.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

// A copy of the cases with the images they name and their output folder.
std::u16string CopyCases() {
  const std::u16string target = MakeTempFolder();
  FsCreateDirectory(target + u"sub");
  for (const auto& entry : std::filesystem::directory_iterator(U8(SourcePath("tests/data/check_make"))))
    WriteTestFile(target + U16(entry.path().filename().u8string()), ReadTestFile(U16(entry.path().u8string())));
  auto write = [&](const char16_t* name, const std::vector<uint8_t>& bytes) {
    WriteTestFile(target + name, std::string(bytes.begin(), bytes.end()));
  };
  write(u"main.png", PngBytes(256, 256, 8, 2));
  write(u"side.png", PngBytes(200, 58, 8, 2));
  write(u"tex.png", PngBytes(256, 256, 8, 6));
  write(u"sub/w.wav", GoodWave());
  FsCreateDirectory(target + u"out");
  return target;
}

TEST(CheckAndMake, AgreeOverBrokenProjects) {
  const std::u16string folder = CopyCases();
  std::ifstream table(U8(SourcePath("tests/data/check_make/expected.txt")));
  std::string row;
  int cases = 0;
  while (std::getline(table, row)) {
    const std::string name = row.substr(0, row.find('\t')), expected = row.substr(row.find('\t') + 1);
    const ToolRun check = RunTool({"check", U8(folder + U16(name))});
    const ToolRun make = RunTool({"make", U8(folder + U16(name)), "--workshop", "W"});
    ++cases;
    // Warnings alone leave the project ready.
    const bool ready = expected.empty() || expected.find(": warning: ") != std::string::npos;
    EXPECT_EQ(check.status, ready ? 0 : 1) << name << "\n" << check.out;
    EXPECT_EQ(make.status, check.status) << name << "\n" << make.out << make.err;
    EXPECT_NE(check.out.find(expected), std::string::npos) << name << "\n" << check.out;
  }
  EXPECT_EQ(cases, 10);
}

// The live preview's build of the same cases: what check finds, the first
// error and the count on one line, and nothing written at all.
TEST(LiveBuild, CompilesInMemoryAndWritesNothing) {
  const std::u16string folder = CopyCases();
  std::string xml = ReadTestFile(folder + u"good.xml");
  xml.replace(xml.find("<name>CM-1</name>"), 17, "<name></name>");
  xml.replace(xml.find("<series>CM形</series>"), 22, "<series></series>");
  WriteTestFile(folder + u"two_missing.xml", xml);
  auto files = [&] {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(U8(folder)))
      names.insert(entry.path().u8string() + ":" +
                   std::to_string(entry.is_regular_file() ? entry.file_size() : 0));
    return names;
  };
  const std::set<std::string> before = files();
  const struct {
    const char16_t* project;
    const char16_t* line;  // empty: it compiles
  } kCases[] = {
      {u"good.xml", u""},
      {u"coupler_far_away.xml", u""},
      {u"no_uv.xml", u"自動更新: エラー 2 件: modelA1 (no_uv.obj): ERROR : no uv polygon"},
      {u"no_texture.xml", u"自動更新: エラー 2 件: modelA1 (no_texture.obj): ERROR : no png file [gone.png]"},
      {u"two_missing.xml", u"自動更新: エラー 2 件: name: 形式番号が設定されていません。"},
  };
  for (const auto& c : kCases) {
    VehicleProject p;
    ReadProjectFile(p, folder + c.project);
    p.maker.Set(u"W");
    LiveBuild build = RunLiveBuild(p, nullptr);
    const std::u16string line = LiveFailureLine(build);
    EXPECT_EQ(U8(line.substr(0, std::u16string_view(c.line).size())), U8(c.line)) << U8(c.project);
    EXPECT_EQ(build.compiler != nullptr, line.empty()) << U8(c.project);
    EXPECT_FALSE(build.report.empty()) << U8(c.project);
    if (build.compiler) ResetCompiler(*build.compiler);
  }
  EXPECT_EQ(files(), before);

  // A project never saved has no folder for its relative names: the build
  // says so first, and there is nothing to watch.
  VehicleProject p;
  ReadProjectFile(p, folder + u"good.xml");
  p.maker.Set(u"W");
  p.folder.clear();
  const std::u16string unsaved = LiveFailureLine(RunLiveBuild(p, nullptr));
  EXPECT_NE(unsaved.find(u"件: プロジェクトが保存されていないため"), std::u16string::npos) << U8(unsaved);
  EXPECT_TRUE(LiveWatchFiles(p, u"").empty());
  const std::vector<std::u16string> watched = LiveWatchFiles(p, folder + u"good.xml");
  for (const char16_t* name : {u"good.xml", u"good.obj", u"good.mtl", u"tex.png", u"main.png"})
    EXPECT_NE(std::find(watched.begin(), watched.end(), folder + name), watched.end()) << U8(name);
}

// What the program's report window says when several problems stop Make
// data, and whether a data file was written.
TEST(MakeDataReport, ListsEveryProblemAsCheckPrintsIt) {
  const std::vector<ProjectProblem> problems = {{u"speed", u"a\nb"}, {u"", u"c"}, {u"link0", u"d", true}};
  EXPECT_EQ(ProblemsReport(problems),
            u"データ作成を中止しました。問題が2件あります。\r\n\r\nspeed: a b\r\nc\r\nlink0: warning: d\r\n");
  EXPECT_EQ(DataFileOutcome(u""), u"データファイルは作成されていません。");
  EXPECT_EQ(DataFileOutcome(u"C:\\o\\A.z5t"), u"データファイルを作成しました：C:\\o\\A.z5t");
}

TEST(OutputOption, NeverReplacesAnInput) {
  const std::u16string folder = CopyCases();
  const std::string project = U8(folder + u"good.xml");
  std::string xml = ReadTestFile(folder + u"sound_not_wave.xml");
  xml.replace(xml.find("not_wave.wav"), 12, "sub/w.wav");
  WriteTestFile(folder + u"wave.xml", xml);
  const struct {
    const char* project;
    const char16_t* target;
  } kTargets[] = {
      {"good.xml", u"good.xml"},  {"good.xml", u"main.png"}, {"good.xml", u"side.png"},
      {"good.xml", u"good.obj"},  {"good.xml", u"good.mtl"}, {"good.xml", u"tex.png"},
      {"good.xml", u"out/../GOOD.XML"}, {"wave.xml", u"sub\\w.wav"}, {"wave.xml", u"wave.xml"},
  };
  for (const auto& t : kTargets) {
    const std::string before = ReadTestFile(folder + t.target);
    const ToolRun script =
        RunTool({"script", U8(folder + U16(t.project)), "--workshop", "W", "-o", U8(folder + t.target)});
    EXPECT_EQ(script.status, 2) << U8(t.target) << script.err;
    EXPECT_NE(script.err.find("would replace"), std::string::npos) << script.err;
    EXPECT_EQ(ReadTestFile(folder + t.target), before) << U8(t.target);
  }
  // make -o names a folder; a file there is refused before anything is written.
  const ToolRun make = RunTool({"make", project, "--workshop", "W", "-o", U8(folder + u"good.obj")});
  EXPECT_EQ(make.status, 2) << make.err;
  EXPECT_FALSE(FsFileExists(folder + u"good.3dd"));
  // A main texture that lies where the data file would go.
  std::string xml_on_texture = ReadTestFile(folder + u"good.xml");
  xml_on_texture.replace(xml_on_texture.find("main.png"), 8, "out/CM-1.z5t");
  WriteTestFile(folder + u"on_texture.xml", xml_on_texture);
  const std::string texture = ReadTestFile(folder + u"main.png");
  WriteTestFile(folder + u"out/CM-1.z5t", texture);
  const ToolRun onto = RunTool({"make", U8(folder + u"on_texture.xml"), "--workshop", "W"});
  EXPECT_EQ(onto.status, 2) << onto.out << onto.err;
  EXPECT_EQ(ReadTestFile(folder + u"out/CM-1.z5t"), texture);
}

#ifndef _WIN32
// The tool beside the test binary's folder, killed at a few moments of a make
// of a large model; a later make succeeds and no script is left behind.
TEST(MakeInterrupted, LeavesNothingBehind) {
  const std::u16string folder = CopyCases();
  std::string obj = "mtllib good.mtl\ng body\nusemtl m\nvt 0 0\nvt 1 0\nvt 1 1\n";
  const int n = 120;  // within the reader's 50,000 corners
  for (int i = 0; i < n * n; ++i)
    obj += "v " + std::to_string(i % n) + " " + std::to_string(i / n) + " 0\n";
  for (int i = 0; i + n + 1 < n * n; ++i)
    obj += "f " + std::to_string(i + 1) + "/1 " + std::to_string(i + 2) + "/2 " + std::to_string(i + n + 2) + "/3\n";
  WriteTestFile(folder + u"big.obj", obj);
  std::string xml = ReadTestFile(folder + u"good.xml");
  xml.replace(xml.find("good.obj"), 8, "big.obj");
  WriteTestFile(folder + u"big.xml", xml);
  const std::string tool = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "railwick";
  const std::string project = U8(folder + u"big.xml");
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
  for (const char16_t* dir : {u"", u"out"}) {
    for (const auto& entry : std::filesystem::directory_iterator(U8(folder + dir))) {
      const std::string name = entry.path().filename().string();
      EXPECT_NE(name, "CM-1.txt");
      EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
  }
}
#endif

}  // namespace
