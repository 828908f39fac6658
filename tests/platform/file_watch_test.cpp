// Watching the files a build reads: writes and renames of watched files
// only, folders that go, come back or are links, and the thread that builds
// once per burst of saves. Every wait is bounded.
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "platform/file_watch.h"
#include "platform/live_watch.h"
#include "tests/test_util.h"

namespace {

namespace stdfs = std::filesystem;

TEST(FileWatch, SeesWritesAndRenamesOfWatchedFilesOnly) {
  std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"P1.obj", "v 0 0 0\n");
  WriteTestFile(folder + u"01.obj", "x");
  auto watcher = CreateFileWatcher();
  ASSERT_TRUE(watcher->Watch({folder + u"p1.OBJ"}));
  std::vector<std::u16string> changed;
  EXPECT_EQ(watcher->Wait(50, &changed), FileWatcher::Event::kTimeout);
  // Not watched, though it matches when letters are folded the wrong way.
  WriteTestFile(folder + u"01.obj", "y");
  EXPECT_EQ(watcher->Wait(300, &changed), FileWatcher::Event::kTimeout);
  // The atomic write replaces the file by a rename, as many editors do.
  WriteTestFile(folder + u"P1.obj", "v 1 1 1\n");
  ASSERT_EQ(watcher->Wait(3000, &changed), FileWatcher::Event::kChanged);
  ASSERT_FALSE(changed.empty());
  // Linux names the file as it is on disk, Windows as it was watched.
  std::string name = U8(changed.back());
  for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  EXPECT_NE(name.find("p1.obj"), std::string::npos);
}

// Does "write PATH", "remove PATH", "rename FROM TO" and "link PATH TARGET"
// in `dir`, each write with new contents; false when one is refused
// (Windows makes links only with a right).
bool Do(const std::u16string& dir, const std::string& steps) {
  static int writes = 0;
  std::istringstream words(steps);
  for (std::string verb, path, other; words >> verb >> path;) {
    const stdfs::path target(dir + U16(path));
    std::error_code error;
    if (verb == "remove") {
      if (stdfs::remove_all(target, error) == 0) return false;
      continue;
    }
    stdfs::create_directories(target.parent_path());
    if (verb == "write") WriteTestFile(dir + U16(path), "v " + std::to_string(++writes) + "\n");
    if (verb == "rename" && words >> other) stdfs::rename(target, stdfs::path(dir + U16(other)), error);
    if (verb == "link" && words >> other) stdfs::create_symlink(stdfs::path(U16(other)), target, error);
    if (error) return false;
  }
  return true;
}

// Lets the events of a step pass: waits until the files are quiet.
void Settle(FileWatcher& watcher) {
  std::vector<std::u16string> changed;
  for (int i = 0; i < 20 && watcher.Wait(300, &changed) == FileWatcher::Event::kChanged; ++i) {
  }
}

// The files are laid out, `watched` is watched, `away` is done (its events
// let pass), then each edit must be seen as a change within a bounded wait.
// `unwatchable` names the one folder reported.
struct WatchCase {
  const char* name;
  const char* layout;
  std::string watched;
  const char* away;
  std::vector<const char*> edits;
  const char* unwatchable;
};

void RunCase(const WatchCase& c) {
  const std::u16string dir = MakeTempFolder();
  std::vector<std::string> reported;
  auto watcher = CreateFileWatcher(
      [&](const std::u16string& folder, const std::string& reason) { reported.push_back(U8(folder) + ": " + reason); });
  if (!Do(dir, c.layout)) {
    std::printf("[ skipped  ] %s: this system made no link\n", c.name);
    return;
  }
  ASSERT_TRUE(watcher->Watch({dir + U16(c.watched)}));
  ASSERT_TRUE(watcher->Watch({dir + U16(c.watched)}));  // armed again: nothing is reported twice
  ASSERT_TRUE(Do(dir, c.away));
  Settle(*watcher);
  for (const char* edit : c.edits) {
    ASSERT_TRUE(Do(dir, edit));
    std::vector<std::u16string> changed;
    ASSERT_EQ(watcher->Wait(5000, &changed), FileWatcher::Event::kChanged) << edit;
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
      {"folder deleted and restored", "write m/x.obj", "m/x.obj", "remove m", {"write m/x.obj", "write m/x.obj"}, nullptr},
      {"folder moved away, another made in its place", "write m/x.obj", "m/x.obj", "rename m old",
       {"write m/x.obj", "write m/x.obj"}, nullptr},
      {"folders created after the start", "write other.txt", "a/b/x.obj", "", {"write a/b/x.obj", "write a/b/x.obj"}, nullptr},
      {"model linked into another folder", "write shared/x.obj link m/x.obj ../shared/x.obj", "m/x.obj", "",
       {"write shared/x.obj", "write shared/x.obj"}, nullptr},
      {"a file where the folder should be", "write f", "f/x.obj", "", {"remove f write f/x.obj", "write f/x.obj"},
       "f"},
  };
  for (const WatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    RunCase(c);
  }
}

// The thread sees a save by rename and says so; stopping is bounded. Once
// per burst is the settling cases' business.
TEST(LiveWatch, BuildsAfterASaveByRename) {
  const std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"model.obj", "v 0 0 0\n");
  std::atomic<int> settled{0};
  {
    LiveWatch watch([&] { ++settled; }, 50, 500);
    watch.SetFiles({folder + u"model.obj"});
    // The thread takes up the files at its next look: save until it has.
    for (int save = 0; save < 10 && settled == 0; ++save) {
      WriteTestFile(folder + u"model.tmp", "v " + std::to_string(save) + " 1 1\n");
      stdfs::rename(stdfs::path(U8(folder + u"model.tmp")), stdfs::path(U8(folder + u"model.obj")));
      for (int waited = 0; waited < 1000 && settled == 0; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  EXPECT_GE(settled, 1);
}

}  // namespace
