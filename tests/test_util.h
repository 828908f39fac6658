// Shared helpers of the tests: scratch folders, files, and compiling a
// script written in UTF-8.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiler/vehicle_compiler.h"

// A fresh folder under the process's scratch folder, with a trailing separator.
std::u16string MakeTempFolder();
std::u16string U16(const std::string& utf8);
std::string U8(const std::u16string& text);
// Shift-JIS bytes of a UTF-8 text.
std::string Sjis(const std::string& utf8);
void WriteTestFile(const std::u16string& path, const std::string& bytes);
std::string ReadTestFile(const std::u16string& path);
// Path of a file in the source tree (tests/data/...).
std::u16string SourcePath(const std::string& relative);
// A copy of the source tree's folder (e.g. "tests/data/check_make") in a
// fresh scratch folder, file by file; mesh and data files only when
// `generated_too`.
std::u16string CopySourceFolder(const std::string& relative_folder, bool generated_too);
// A copy of examples/ (without mesh and data files) in a fresh scratch folder.
std::u16string CopyExamples();

// Restores the working folder when it goes out of scope.
struct ScopedCurrentFolder {
  explicit ScopedCurrentFolder(const std::u16string& folder);
  ~ScopedCurrentFolder();
  std::u16string saved;
};

// One compilation of a script (UTF-8 text, converted to Shift-JIS), as if
// the script file lay in `folder` under the name "Test.txt".
struct CompileRun {
  std::unique_ptr<VehicleCompiler> compiler = std::make_unique<VehicleCompiler>();
  LogBuffer log;
  uint32_t result = 0;
  std::string LogText() const { return U8(log.text); }
  std::vector<uint8_t> Stream() const { return StreamBytes(compiler->stream); }
};
std::unique_ptr<CompileRun> CompileScript(const std::string& utf8_script, const std::u16string& folder);

// The command-line tool run in this process with its output captured.
struct ToolRun {
  int status = -1;
  std::string out, err;
};
ToolRun RunTool(const std::vector<std::string>& args);  // args after "railwick"

#ifndef _WIN32
// The wait status of child process `child`, waited for at most `seconds`;
// past that it is killed and the test fails.
int WaitForChild(int child, int seconds);
#endif

// The records of a stream as (tag, data) pairs; stops at a broken frame.
struct TestRecord {
  uint32_t tag;
  std::vector<uint8_t> data;
};
std::vector<TestRecord> SplitRecords(const std::vector<uint8_t>& stream);
uint32_t U32At(const std::vector<uint8_t>& data, size_t offset);
float F32At(const std::vector<uint8_t>& data, size_t offset);
