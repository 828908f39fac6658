#include <gtest/gtest.h>

#include <cctype>

#include "platform/file_watch.h"
#include "platform/fs.h"
#include "tests/test_util.h"

namespace {

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

}  // namespace
