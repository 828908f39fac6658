// Whole-file reads and writes: names as Windows treats them, the reason of a
// failure, links and permission bits kept, no temporary file left by an
// interrupted process; and the read cache of a compilation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
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

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(Files, WholeFilesStartsAndTextAsWindowsNamesThem) {
  const std::u16string folder = MakeTempFolder();
  std::vector<uint8_t> data(2049), back;
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  ASSERT_TRUE(WriteWholeFile(folder + u"a.bin", data.data(), data.size()));
  ASSERT_TRUE(ReadWholeFile(folder + u"a.bin", back));
  EXPECT_EQ(back, data);
  ASSERT_TRUE(WriteWholeFile(folder + u"empty.bin", "", 0));
  EXPECT_FALSE(ReadWholeFile(folder + u"empty.bin", back));  // an empty file is no file to read
  EXPECT_TRUE(back.empty());
  EXPECT_FALSE(ReadWholeFile(folder + u"missing.bin", back));
  EXPECT_FALSE(WriteWholeFile(folder + u"no/such.bin", "x", 1));
  // Japanese names, '\' as a separator, letter case ignored.
  FsCreateDirectory(folder + u"Car車両");
  ASSERT_TRUE(WriteWholeFile(folder + u"Car車両\\データ.Bin", "0123456789", 10));
  ASSERT_TRUE(ReadWholeFile(folder + u"cAR車両/データ.bIN", back));
  EXPECT_EQ(back.size(), 10u);
  ASSERT_TRUE(FsReadFileStart(folder + u"Car車両/データ.Bin", 4, back));
  EXPECT_EQ(Text(back), "0123");
  ASSERT_TRUE(FsReadFileStart(folder + u"Car車両/データ.Bin", 64, back));  // a shorter file reads whole
  EXPECT_EQ(Text(back), "0123456789");
  EXPECT_FALSE(FsReadFileStart(folder + u"missing.bin", 4, back));
  EXPECT_TRUE(back.empty());

  WriteTestFile(folder + u"t.xml", "\xEF\xBB\xBFline1\r\n行2\n");
  std::u16string text;
  ASSERT_TRUE(ReadUtf8TextFile(folder + u"t.xml", text));
  EXPECT_EQ(U8(text), "line1\n行2\n");
  EXPECT_FALSE(ReadUtf8TextFile(folder + u"none.xml", text));

  std::u16string reason;
  EXPECT_FALSE(FsWriteFileAtomic(folder + u"missing/x.bin", "x", 1, FsFlush::kToDisk, &reason));
  EXPECT_FALSE(reason.empty());
  reason.clear();
  ASSERT_TRUE(FsWriteFileAtomic(folder + u"x.bin", "new", 3, FsFlush::kToDisk, &reason));
  EXPECT_TRUE(reason.empty());
  EXPECT_EQ(ReadTestFile(folder + u"x.bin"), "new");
  // A folder in the file's place: the write is refused at the last step, with its reason.
  EXPECT_FALSE(FsWriteFileAtomic(folder + u"Car車両", "x", 1, FsFlush::kToDisk, &reason));
  EXPECT_FALSE(reason.empty());
}

// A file that already holds the bytes is kept (same file, time renewed);
// any difference, even past the first chunk read, and it is not.
TEST(Files, KeepIfSameKeepsOnlyAFileHoldingExactlyTheBytes) {
  const std::u16string folder = MakeTempFolder(), path = folder + u"Data.z5t";
  std::vector<uint8_t> data(40000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 13 + (i >> 9));
  ASSERT_TRUE(WriteWholeFile(path, data.data(), data.size()));
  const auto old_time = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
  std::filesystem::last_write_time(std::filesystem::path(path), old_time);
  FsFileId before, after;
  ASSERT_TRUE(FsFileIdOf(path, before));
  const FsBytes pieces[] = {{data.data(), 7}, {data.data() + 7, 0}, {data.data() + 7, 20000},
                            {data.data() + 20007, data.size() - 20007}};
  EXPECT_FALSE(FsKeepIfSame(folder + u"missing.z5t", pieces, 4));
  EXPECT_FALSE(FsKeepIfSame(path, pieces, 3));  // shorter
  ASSERT_TRUE(FsKeepIfSame(folder + u"DATA.Z5T", pieces, 4));
  ASSERT_TRUE(FsFileIdOf(path, after));
  EXPECT_TRUE(before == after);
  EXPECT_GT(std::filesystem::last_write_time(std::filesystem::path(path)), old_time + std::chrono::hours(24));
  std::vector<uint8_t> changed = data;
  changed.back() ^= 1;
  const FsBytes whole[] = {{changed.data(), changed.size()}};
  EXPECT_FALSE(FsKeepIfSame(path, whole, 1));
  const FsBytes longer[] = {{data.data(), data.size()}, {"x", 1}};
  EXPECT_FALSE(FsKeepIfSame(path, longer, 2));
  EXPECT_EQ(ReadTestFile(path), std::string(data.begin(), data.end()));
  // Nothing to compare: an empty file holds an empty piece.
  ASSERT_TRUE(WriteWholeFile(folder + u"empty.z5t", "", 0));
  const FsBytes empty[] = {{"", 0}};
  EXPECT_TRUE(FsKeepIfSame(folder + u"empty.z5t", empty, 1));
}

// Within a compilation's read cache: small files and misses are read once,
// a write through the file layer is seen at once, a large file is read anew.
TEST(Files, ReadCacheAnswersRepeatedSharedReadsButNeverHidesItsOwnWrites) {
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
  for (const char16_t* name : {u"small.mtl", u"missing.png", u"large.mtl", u"model.obj"})
    std::ofstream(std::filesystem::path(folder + name), std::ios::binary | std::ios::trunc) << "y";
  ASSERT_TRUE(FsReadSharedFile(folder + u"small.mtl", bytes));
  EXPECT_EQ(Text(bytes), "old");
  EXPECT_FALSE(FsReadSharedFile(folder + u"missing.png", bytes));
  ASSERT_TRUE(FsReadSharedFile(folder + u"large.mtl", bytes));
  EXPECT_EQ(Text(bytes), "y");
  ASSERT_TRUE(FsReadFile(folder + u"model.obj", bytes));
  EXPECT_EQ(Text(bytes), "y");
  // Through the layer: the next read sees the new bytes, and a start read
  // of a cached whole file is cut from it.
  ASSERT_TRUE(FsWriteFileAtomic(folder + u"small.mtl", "newer", 5));
  ASSERT_TRUE(FsReadSharedFile(folder + u"small.mtl", bytes));
  EXPECT_EQ(Text(bytes), "newer");
  ASSERT_TRUE(FsReadFileStart(folder + u"small.mtl", 3, bytes));
  EXPECT_EQ(Text(bytes), "new");
  {
    // A cache within (a compilation's within a make's) answers from the outer one.
    std::ofstream(std::filesystem::path(folder + u"small.mtl"), std::ios::binary | std::ios::trunc) << "y";
    FsReadCache inner;
    ASSERT_TRUE(FsReadSharedFile(folder + u"small.mtl", bytes));
    EXPECT_EQ(Text(bytes), "newer");
  }
#ifndef _WIN32
  // Letter case is matched against the folder listing the cache keeps: a
  // file created or removed through the layer is found, or not, at once.
  EXPECT_FALSE(FsFileExists(folder + u"MESH.BIN"));
  ASSERT_TRUE(FsWriteFileAtomic(folder + u"mesh.bin", "m", 1));
  EXPECT_TRUE(FsFileExists(folder + u"MESH.BIN"));
  ASSERT_TRUE(FsRemoveFile(folder + u"Mesh.bin"));
  EXPECT_FALSE(FsFileExists(folder + u"MESH.BIN"));
#endif
}

#ifndef _WIN32

// A FIFO in a file's place is no file to read or keep, and looking must not
// wait for a writer (a hang here ends the run at the alarm).
TEST(Files, AFifoIsNeitherReadNorKeptAndNotWaitedOn) {
  const std::u16string path = MakeTempFolder() + u"out.z5t";
  ASSERT_EQ(mkfifo(U8(path).c_str(), 0644), 0);
  const FsBytes none[] = {{"", 0}};
  std::vector<uint8_t> bytes;
  alarm(20);
  EXPECT_FALSE(FsKeepIfSame(path, none, 1));
  EXPECT_FALSE(FsReadFile(path, bytes));
  alarm(0);
}

TEST(Files, AtomicWriteReplacesALinksTargetAndKeepsItsPermissionBits) {
  const std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"real.bin", "old");
  ASSERT_EQ(chmod(U8(folder + u"real.bin").c_str(), 0600), 0);
  ASSERT_EQ(symlink("real.bin", U8(folder + u"link.bin").c_str()), 0);
  ASSERT_TRUE(FsWriteFileAtomic(folder + u"link.bin", "new", 3));
  struct stat link_stat, real_stat;
  ASSERT_EQ(lstat(U8(folder + u"link.bin").c_str(), &link_stat), 0);
  EXPECT_TRUE(S_ISLNK(link_stat.st_mode));
  EXPECT_EQ(ReadTestFile(folder + u"real.bin"), "new");
  ASSERT_EQ(stat(U8(folder + u"real.bin").c_str(), &real_stat), 0);
  EXPECT_EQ(real_stat.st_mode & 07777, 0600u);
  EXPECT_TRUE(FsSameFile(folder + u"link.bin", folder + u"REAL.bin"));
}

// Names in `folder` holding ".tmp".
int TemporaryFiles(const std::u16string& folder) {
  int count = 0;
  if (DIR* dir = opendir(U8(folder).c_str())) {
    while (dirent* entry = readdir(dir)) count += std::string(entry->d_name).find(".tmp") != std::string::npos;
    closedir(dir);
  }
  return count;
}

// A child writing a large file over and over is interrupted while one of
// its temporary files exists; none may be left, and it dies of the signal.
TEST(Files, InterruptedWriterLeavesNoTemporaryFile) {
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
    const auto deadline = Clock::now() + std::chrono::seconds(10);
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
