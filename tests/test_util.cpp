#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#ifndef _WIN32
#include <sys/wait.h>

#include <csignal>
#endif

#include "platform/byte_order.h"
#include "platform/console.h"
#include "platform/fs.h"
#include "platform/sjis.h"

namespace {
// Removes the process's scratch folder when the tests are over.
class ScratchCleanup : public ::testing::Environment {
 public:
  void TearDown() override { FsRemoveTree(FsTempDirectory()); }
};
const auto* const kCleanup = ::testing::AddGlobalTestEnvironment(new ScratchCleanup);
}  // namespace

std::u16string MakeTempFolder() {
  static int counter = 0;
  std::u16string folder = FsTempDirectory() + U16("t" + std::to_string(counter++)) + FsSeparator();
  FsCreateDirectory(folder);
  return folder;
}

std::u16string U16(const std::string& utf8) { return Utf8ToUtf16(utf8); }
std::string U8(const std::u16string& text) { return Utf16ToUtf8(text); }

std::string Sjis(const std::string& utf8) {
  std::string out;
  Utf16ToSjis(Utf8ToUtf16(utf8), out);
  return out;
}

void WriteTestFile(const std::u16string& path, const std::string& bytes) {
  FsWriteFileAtomic(path, bytes.data(), bytes.size());
}

std::string ReadTestFile(const std::u16string& path) {
  std::vector<uint8_t> bytes;
  FsReadFile(path, bytes);
  return std::string(bytes.begin(), bytes.end());
}

std::u16string SourcePath(const std::string& relative) { return U16(std::string(RAILWICK_SOURCE_DIR) + "/" + relative); }

std::u16string CopySourceFolder(const std::string& relative_folder, bool generated_too) {
  const std::u16string target = MakeTempFolder();
  const std::filesystem::path source(U8(SourcePath(relative_folder)));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(source)) {
    const std::string relative = std::filesystem::relative(entry.path(), source).generic_string();
    if (entry.is_directory()) {
      FsCreateDirectory(target + U16(relative));
    } else if (generated_too ||
               (relative.find(".3dd") == std::string::npos && relative.find(".z5") == std::string::npos)) {
      WriteTestFile(target + U16(relative), ReadTestFile(U16(entry.path().generic_string())));
    }
  }
  return target;
}

std::u16string CopyExamples() { return CopySourceFolder("examples", false); }

ScopedCurrentFolder::ScopedCurrentFolder(const std::u16string& folder) : saved(FsCurrentDirectory()) {
  FsSetCurrentDirectory(folder);
}
ScopedCurrentFolder::~ScopedCurrentFolder() { FsSetCurrentDirectory(saved); }

std::unique_ptr<CompileRun> CompileScript(const std::string& utf8_script, const std::u16string& folder) {
  auto run = std::make_unique<CompileRun>();
  SetScriptPath(*run->compiler, folder + u"Test.txt");
  std::string text = Sjis(utf8_script);
  run->result = Compile(*run->compiler, text.data(), text.size(), run->log);
  return run;
}

uint32_t U32At(const std::vector<uint8_t>& data, size_t offset) {
  return offset + 4 > data.size() ? 0xDEADBEEF : LittleEndian32(&data[offset]);
}

float F32At(const std::vector<uint8_t>& data, size_t offset) {
  uint32_t bits = U32At(data, offset);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

std::vector<TestRecord> SplitRecords(const std::vector<uint8_t>& stream) {
  std::vector<TestRecord> records;
  size_t pos = 0;
  while (pos + 8 <= stream.size()) {
    uint32_t tag = U32At(stream, pos), length = U32At(stream, pos + 4);
    if (length > stream.size() - pos - 8) break;
    records.push_back({tag, std::vector<uint8_t>(stream.begin() + pos + 8, stream.begin() + pos + 8 + length)});
    pos += 8 + length;
  }
  return records;
}

ToolRun RunTool(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"railwick"};
  argv.insert(argv.end(), args.begin(), args.end());
  ScopedCurrentFolder keep(FsCurrentDirectory());  // compile enters the script's folder
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  ToolRun run;
  run.status = RunCli(argv);
  run.out = testing::internal::GetCapturedStdout();
  run.err = testing::internal::GetCapturedStderr();
  return run;
}

#ifndef _WIN32
int WaitForChild(int child, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      ADD_FAILURE() << "process " << child << " did not end within " << seconds << " s";
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return status;
}
#endif
