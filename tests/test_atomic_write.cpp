// Whole-file writes: the reason of a failure, links and permission bits of
// the file replaced, no temporary file left by an interrupted process; and
// the read cache of a compilation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "tests/test_util.h"

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>
#endif

namespace {

TEST(AtomicWrite, FailureGivesTheSystemsReasonAndKeepsTheTarget) {
  const std::u16string folder = MakeTempFolder();
  std::u16string reason;
  EXPECT_FALSE(FsWriteFileAtomic(folder + u"missing/x.bin", "x", 1, FsFlush::kToDisk, &reason));
  EXPECT_FALSE(reason.empty());
  reason.clear();
  ASSERT_TRUE(FsWriteFileAtomic(folder + u"x.bin", "new", 3, FsFlush::kToDisk, &reason));
  EXPECT_TRUE(reason.empty());
  EXPECT_EQ(ReadTestFile(folder + u"x.bin"), "new");
}

// Within a compilation's read cache: small files and misses are read once,
// a write through the file layer is seen at once, a large file is read anew.
TEST(ReadCache, AnswersRepeatedSharedReadsButNeverHidesItsOwnWrites) {
  const std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"small.mtl", "old");
  WriteTestFile(folder + u"model.obj", "v");
  WriteTestFile(folder + u"large.mtl", std::string(kFsCachedBytes + 1, 'x'));
  std::vector<uint8_t> bytes;
  FsReadCache cache;
  ASSERT_TRUE(FsReadSharedFile(folder + u"small.mtl", bytes));
  EXPECT_FALSE(FsReadSharedFile(folder + u"missing.png", bytes));
  ASSERT_TRUE(FsReadSharedFile(folder + u"large.mtl", bytes));
  ASSERT_TRUE(FsReadFile(folder + u"model.obj", bytes));
  // Changed behind the layer's back: the cache answers for the small shared
  // file and the miss; the large one and the one-time read are read again.
  auto behind = [&](const char16_t* name, const char* bytes) {
    std::ofstream(std::filesystem::path(folder + name), std::ios::binary | std::ios::trunc) << bytes;
  };
  behind(u"small.mtl", "other");
  behind(u"missing.png", "now here");
  behind(u"large.mtl", "y");
  behind(u"model.obj", "w");
  ASSERT_TRUE(FsReadSharedFile(folder + u"small.mtl", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
  EXPECT_FALSE(FsReadSharedFile(folder + u"missing.png", bytes));
  ASSERT_TRUE(FsReadSharedFile(folder + u"large.mtl", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "y");
  ASSERT_TRUE(FsReadFile(folder + u"model.obj", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "w");
  // Through the layer: the next read sees the new bytes, and a start read
  // of a cached whole file is cut from it.
  ASSERT_TRUE(FsWriteFileAtomic(folder + u"small.mtl", "newer", 5));
  ASSERT_TRUE(FsReadSharedFile(folder + u"small.mtl", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "newer");
  ASSERT_TRUE(FsReadFileStart(folder + u"small.mtl", 3, bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");
#ifndef _WIN32
  // Letter case is matched against the folder listing the cache keeps: a
  // file created or removed through the layer is found, or not, at once.
  EXPECT_FALSE(FsFileExists(folder + u"MESH.BIN"));
  ASSERT_TRUE(FsWriteFileAtomic(folder + u"mesh.bin", "m", 1));
  EXPECT_TRUE(FsFileExists(folder + u"MESH.BIN"));
  ASSERT_TRUE(FsRemoveFile(folder + u"Mesh.bin"));
  EXPECT_FALSE(FsFileExists(folder + u"mesh.bin"));
  EXPECT_FALSE(FsFileExists(folder + u"MESH.BIN"));
#endif
}

#ifndef _WIN32

std::string Native(const std::u16string& path) { return U8(path); }

TEST(AtomicWrite, LinkTargetIsReplacedAndPermissionBitsKept) {
  const std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"real.bin", "old");
  ASSERT_EQ(chmod(Native(folder + u"real.bin").c_str(), 0600), 0);
  ASSERT_EQ(symlink("real.bin", Native(folder + u"link.bin").c_str()), 0);
  ASSERT_TRUE(FsWriteFileAtomic(folder + u"link.bin", "new", 3));
  struct stat link_stat, real_stat;
  ASSERT_EQ(lstat(Native(folder + u"link.bin").c_str(), &link_stat), 0);
  EXPECT_TRUE(S_ISLNK(link_stat.st_mode));
  EXPECT_EQ(ReadTestFile(folder + u"real.bin"), "new");
  ASSERT_EQ(stat(Native(folder + u"real.bin").c_str(), &real_stat), 0);
  EXPECT_EQ(real_stat.st_mode & 07777, 0600u);
  EXPECT_TRUE(FsSameFile(folder + u"link.bin", folder + u"REAL.bin"));
}

// Names in `folder` holding ".tmp".
int TemporaryFiles(const std::u16string& folder) {
  int count = 0;
  if (DIR* dir = opendir(Native(folder).c_str())) {
    while (dirent* entry = readdir(dir)) count += std::string(entry->d_name).find(".tmp") != std::string::npos;
    closedir(dir);
  }
  return count;
}

// A child writing a large file over and over is interrupted while one of
// its temporary files exists; none may be left, and it dies of the signal.
TEST(AtomicWrite, InterruptedWriterLeavesNoTemporaryFile) {
  using Clock = std::chrono::steady_clock;
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal_number);
    const std::u16string folder = MakeTempFolder();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FsInstallInterruptCleanup();
      const std::string big(32 << 20, 'x');
      const auto give_up = Clock::now() + std::chrono::seconds(20);  // if never killed
      while (Clock::now() < give_up) FsWriteFileAtomic(folder + u"out.bin", big.data(), big.size());
      _exit(0);
    }
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (TemporaryFiles(folder) == 0 && Clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    kill(child, signal_number);
    const int status = WaitForChild(child, 10);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
    EXPECT_EQ(TemporaryFiles(folder), 0);
  }
}

#endif

}  // namespace
