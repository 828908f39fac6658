#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include "datamake/referenced_files.h"
#include "platform/file_watch.h"
#include "platform/fs.h"
#include "platform/live_watch.h"
#include "platform/save_settler.h"
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

// One build per burst of writes: 200 ms after the last, 1 s after the first
// at the latest. Times in ms.
TEST(LiveWatch, SettlesEachBurstOfWritesOnce) {
  const struct {
    std::vector<int> changes, builds;
  } kCases[] = {
      {{}, {}},
      {{0}, {200}},
      {{0, 150, 300}, {500}},
      {{0, 500}, {200, 700}},
      {{0, 150, 300, 450, 600, 750, 900, 1050}, {1000, 1250}},  // never quiet
  };
  for (const auto& c : kCases) {
    SaveSettler settler(200, 1000);
    std::vector<int> builds;
    for (int t = 0; t <= 3000; t += 10) {
      if (std::find(c.changes.begin(), c.changes.end(), t) != c.changes.end()) settler.Change(t);
      EXPECT_LE(settler.NextLookMs(t, 100), 100);
      if (settler.Due(t)) builds.push_back(t);
    }
    EXPECT_EQ(builds, c.builds) << c.changes.size();
  }
  SaveSettler settler(200, 1000);
  EXPECT_EQ(settler.NextLookMs(0, 100), 100);  // nothing pending
  settler.Change(0);
  EXPECT_EQ(settler.NextLookMs(150, 100), 50);

  // The thread sees a save by rename and says so; stopping is bounded.
  const std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"model.obj", "v 0 0 0\n");
  std::atomic<int> settled{0};
  {
    LiveWatch watch([&] { ++settled; }, 50, 500);
    watch.SetFiles({folder + u"model.obj"});
    // The thread takes up the files at its next look: save until it has.
    for (int save = 0; save < 10 && settled == 0; ++save) {
      WriteTestFile(folder + u"model.tmp", "v " + std::to_string(save) + " 1 1\n");
      std::filesystem::rename(std::filesystem::path(U8(folder + u"model.tmp")),
                              std::filesystem::path(U8(folder + u"model.obj")));
      for (int waited = 0; waited < 1000 && settled == 0; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  EXPECT_GE(settled, 1);  // once per burst is the table above
}

}  // namespace
