// railwick watch on a copy of the sample project.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/file_watch.h"
#include "platform/fs.h"
#include "tests/test_util.h"

namespace {

class CliWatch : public ::testing::Test {
 protected:
  // Runs watch for two builds in a thread; `change` runs once the first
  // data file is there. Bounded: a watch that does not finish is stopped.
  ToolRun WatchTwice(const std::u16string& folder, const std::function<void()>& change) {
    ClearInterrupt();
    ToolRun run;
    std::thread watch([&] {
      run = RunTool({"watch", U8(folder + u"sample.xml"), "-o", U8(folder + u"out"), "--workshop", "工房",
                     "--max-builds", "2"});
    });
    const auto start = std::chrono::steady_clock::now();
    auto waited = [&] { return std::chrono::steady_clock::now() - start > std::chrono::seconds(20); };
    while (!FsFileExists(folder + u"out/RW-101.z5t") && !waited())
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    first_file = ReadTestFile(folder + u"out/RW-101.z5t");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the watcher is set up
    change();
    while (run.status < 0 && !waited()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (run.status < 0) RequestInterrupt();
    watch.join();
    ClearInterrupt();
    return run;
  }
  std::string first_file;
};

TEST_F(CliWatch, RebuildsWhenAModelChanges) {
  const std::u16string folder = CopyExamples();
  ToolRun run = WatchTwice(folder, [&] {
    WriteTestFile(folder + u"models/wheel.obj", ReadTestFile(folder + u"models/wheel.obj") + "# edited\n");
  });
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("wheel.obj changed"), std::string::npos) << run.out;
  size_t first = run.out.find("watch: rebuilt"), second = run.out.find("watch: rebuilt", first + 1);
  EXPECT_NE(second, std::string::npos) << run.out;
  const std::string second_file = ReadTestFile(folder + u"out/RW-101.z5t");
  EXPECT_NE(second_file, first_file);  // a later file, drawn with the next key
  EXPECT_EQ(RunTool({"verify", U8(folder + u"out/RW-101.z5t")}).status, 0);
}

TEST_F(CliWatch, BrokenModelKeepsTheOldFileAndSaysWhy) {
  const std::u16string folder = CopyExamples();
  ToolRun run = WatchTwice(folder, [&] { WriteTestFile(folder + u"models/wheel.obj", "f 1/1 2/2 9/9\n"); });
  EXPECT_NE(run.out.find("watch: failed"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("ERROR : "), std::string::npos) << run.out;
  EXPECT_EQ(ReadTestFile(folder + u"out/RW-101.z5t"), first_file);
}

}  // namespace
