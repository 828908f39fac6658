#include <gtest/gtest.h>

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
  EXPECT_NE(U8(changed.back()).find("model.obj"), std::string::npos);
}

}  // namespace
