#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <set>

#include "datamake/referenced_files.h"
#include "platform/file_watch.h"
#include "platform/fs.h"
#include "tests/test_util.h"

namespace {

namespace stdfs = std::filesystem;

TEST(FileWatch, SeesWritesAndRenamesOfWatchedFilesOnly) {
  std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"model.obj", "v 0 0 0\n");
  WriteTestFile(folder + u"other.txt", "x");
  auto watcher = CreateFileWatcher();
  ASSERT_TRUE(watcher->Watch({folder + u"Model.OBJ"}));
  std::vector<std::u16string> changed;
  EXPECT_EQ(watcher->Wait(50, &changed), FileWatcher::Event::kTimeout);

  WriteTestFile(folder + u"other.txt", "y");  // not watched
  EXPECT_EQ(watcher->Wait(300, &changed), FileWatcher::Event::kTimeout);

  // The atomic write replaces the file by a rename, as many editors do.
  WriteTestFile(folder + u"model.obj", "v 1 1 1\n");
  ASSERT_EQ(watcher->Wait(3000, &changed), FileWatcher::Event::kChanged);
  ASSERT_FALSE(changed.empty());
  // Linux names the file as it is on disk, Windows as it was watched: both are the same file.
  std::string name = U8(changed.back());
  for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  EXPECT_NE(name.find("model.obj"), std::string::npos);
}

// Steps on a scratch folder, by paths relative to it.
using Step = std::function<bool(const std::u16string& dir)>;
Step Write(const std::string& file, const std::string& text) {
  return [=](const std::u16string& dir) {
    stdfs::create_directories(stdfs::path(dir + U16(file)).parent_path());
    WriteTestFile(dir + U16(file), text);
    return true;
  };
}
Step Remove(const std::string& path) {
  return [=](const std::u16string& dir) { return stdfs::remove_all(stdfs::path(dir + U16(path))) > 0; };
}
Step Rename(const std::string& from, const std::string& to) {
  return [=](const std::u16string& dir) {
    std::error_code error;
    stdfs::rename(stdfs::path(dir + U16(from)), stdfs::path(dir + U16(to)), error);
    return !error;
  };
}
// False where the system lets no link be made (Windows without the right).
Step Link(const std::string& link, const std::string& target) {
  return [=](const std::u16string& dir) {
    std::error_code error;
    stdfs::create_directories(stdfs::path(dir + U16(link)).parent_path());
    stdfs::create_symlink(stdfs::path(U16(target)), stdfs::path(dir + U16(link)), error);
    return !error;
  };
}

// The files are laid out, `watched` is watched, the steps of `away` run
// (their events are let pass), and then each edit must be seen as a change
// within a bounded wait. `unwatchable` names the one folder reported.
struct WatchCase {
  const char* name;
  std::vector<Step> layout;
  std::string watched;
  std::vector<Step> away;
  std::vector<std::vector<Step>> edits;
  const char* unwatchable;
};

// Lets the events of a step pass: waits until the files are quiet.
void Settle(FileWatcher& watcher) {
  std::vector<std::u16string> changed;
  for (int i = 0; i < 20 && watcher.Wait(300, &changed) == FileWatcher::Event::kChanged; ++i) {
  }
}

// One case; a failure ends only its own case.
void RunCase(const WatchCase& c) {
  const std::u16string dir = MakeTempFolder();
  std::vector<std::string> reported;
  auto watcher = CreateFileWatcher(
      [&](const std::u16string& folder, const std::string& reason) { reported.push_back(U8(folder) + ": " + reason); });
  bool laid_out = true;
  for (const Step& step : c.layout) laid_out = laid_out && step(dir);
  if (!laid_out) {
    std::printf("[ skipped  ] %s: this system made no link\n", c.name);
    return;
  }
  const std::u16string watched = dir + U16(c.watched);
  ASSERT_TRUE(watcher->Watch({watched}));
  ASSERT_TRUE(watcher->Watch({watched}));  // armed again: nothing is reported twice
  for (const Step& step : c.away) ASSERT_TRUE(step(dir));
  Settle(*watcher);
  for (size_t i = 0; i < c.edits.size(); ++i) {
    for (const Step& step : c.edits[i]) ASSERT_TRUE(step(dir));
    std::vector<std::u16string> changed;
    ASSERT_EQ(watcher->Wait(5000, &changed), FileWatcher::Event::kChanged) << "edit " << i;
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(U8(changed.front()).substr(U8(changed.front()).size() - 5), "x.obj");
    Settle(*watcher);
  }
  if (c.unwatchable) {
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find(U8(dir) + c.unwatchable), std::string::npos) << reported[0];
  } else {
    EXPECT_EQ(reported.size(), 0u) << reported.front();
  }
}

TEST(FileWatch, FollowsFoldersThatGoComeBackOrAreLinked) {
  const WatchCase cases[] = {
      {"folder deleted and restored", {Write("m/x.obj", "v 1\n")}, "m/x.obj", {Remove("m")},
       {{Write("m/x.obj", "v 22\n")}, {Write("m/x.obj", "v 333\n")}}, nullptr},
      {"folder moved away, another made in its place", {Write("m/x.obj", "v 1\n")}, "m/x.obj", {Rename("m", "old")},
       {{Write("m/x.obj", "v 22\n")}, {Write("m/x.obj", "v 333\n")}}, nullptr},
      {"folders created after the start", {Write("other.txt", "o")}, "a/b/x.obj", {},
       {{Write("a/b/x.obj", "v 1\n")}, {Write("a/b/x.obj", "v 22\n")}}, nullptr},
      {"model linked into another folder", {Write("shared/x.obj", "v 1\n"), Link("m/x.obj", "../shared/x.obj")},
       "m/x.obj", {}, {{Write("shared/x.obj", "v 22\n")}, {Write("shared/x.obj", "v 333\n")}}, nullptr},
      {"a file where the folder should be", {Write("f", "not a folder")}, "f/x.obj", {},
       {{Remove("f"), Write("f/x.obj", "v 1\n")}, {Write("f/x.obj", "v 22\n")}}, "f"},
  };
  for (const WatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    RunCase(c);
  }
}

// The files watch follows lie where the build reads them: the project's
// paths in its folder (not the current one), libraries beside their model,
// by the whole name and by each word, a UTF-8 name as such, and textures
// named after their map options, as written and beside the library.
TEST(FileWatch, ListsTheFilesAProjectIsMadeFromWhereTheyAreRead) {
  const std::u16string dir = MakeTempFolder();
  FsCreateDirectory(dir + u"models");
  WriteTestFile(dir + u"models/car.obj", "mtllib car body.mtl\nmtllib \xE8\xBB\x8A\xE4\xBD\x93.mtl\n");
  WriteTestFile(dir + u"models/car body.mtl", "newmtl a\nmap_Kd -s 1 1 1 img\\body paint.png\n");
  auto p = std::make_unique<VehicleProject>();
  p->folder = dir;
  p->modelA1.Set(u"models\\car.obj");
  p->maintex.Set(u"tex\\main.png");
  std::set<std::string> listed;
  for (std::u16string file : ReferencedFiles(*p, dir + u"car.xml")) {
    for (char16_t& c : file)
      if (c == u'\\') c = u'/';
    listed.insert(U8(file).substr(U8(dir).size()));
  }
  for (const char* expected : {"car.xml", "tex/main.png", "models/car.obj", "models/car body.mtl", "models/car",
                               "models/body.mtl", "models/\xE8\xBB\x8A\xE4\xBD\x93.mtl", "img/body paint.png",
                               "models/img/body paint.png", "models/body paint.png"})
    EXPECT_TRUE(listed.count(expected)) << expected;
}

}  // namespace
