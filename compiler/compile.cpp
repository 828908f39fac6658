// One compilation from start message to written data file, and include.
#include <cstring>

#include "compiler/commands.h"
#include "compiler/data_file.h"
#include "compiler/model_conversion.h"
#include "compiler/tokenizer.h"
#include "compiler/tokens.h"
#include "platform/fs.h"

namespace {

void ResetForCompilation(VehicleCompiler& c) {
  c.container_part = false;
  c.container_name.clear();
  c.container_guide.clear();
  c.container_maker.clear();
  c.container_texture_size = 128;
  c.stream.Clear();
  c.overflow_reported = false;
  c.output_subpath = u"test.z4t";
  c.sign_png_name.clear();
  c.model_options = ModelOptions{};
  c.include_stack.resize(c.include_stack.empty() ? 0 : 1);  // the script itself
  c.written_file.clear();
  c.output_refused = false;
  c.converted_meshes.clear();
}

// Folder, sub-path and name meet with whatever separators each was written
// with; the name is shown and used with this system's one.
std::u16string DataFileName(const VehicleCompiler& c) {
  // An absolute output path stands as written; a relative one lies in the
  // script's folder.
  std::u16string name =
      !c.output_override.empty()
          ? c.output_override
          : FsResolve(c.script_folder, c.output_subpath + c.script_name + (c.container_part ? u".z5c" : u".z5t"));
  for (char16_t& ch : name)
    if (ch == u'/' || ch == u'\\') ch = FsSeparator();
  return name;
}

// True (reported) when the data file would replace the script or a file the
// compilation read.
bool RefuseInputAsOutput(VehicleCompiler& c, const std::u16string& name, const FsReadRecorder& reads) {
  // A data file that does not exist yet can replace nothing.
  FsFileId output;
  if (!FsFileIdOf(name, output)) return false;
  bool input = reads.Read(output);
  if (!c.include_stack.empty()) input = input || FsSamePlace(c.include_stack[0], name) ||
                                        FsSameFile(c.include_stack[0], name);
  if (!input) return false;
  LogError(c, u"エラー：出力先がコンパイルで読み込んだファイルのため、書き込みを中止しました [%s]\r\n", name);
  c.output_refused = true;
  return true;
}

// Writes the stream as a data file; the name longer than a path may be is
// reported like any other write failure.
bool WriteVehicleDataFile(VehicleCompiler& c, const FsReadRecorder& reads) {
  const std::u16string name = DataFileName(c);
  if (RefuseInputAsOutput(c, name, reads)) return false;
  if (!c.write_files) return true;
  // Drawn even for a name too long to write: later seeds follow from it.
  const uint32_t random = NextProcessRandom();
  std::u16string reason = u"名前が259文字を超えている";
  bool ok = name.size() <= kMaxPathUnits && WriteDataFile(name, c.stream, random, &reason);
  if (ok) {
    Log(*c.log, 0, u"バイナリファイルを作成しました\r\n***[%s]\r\n", name);
    c.written_file = name;
  } else {
    LogError(c, u"ERROR バイナリファイルが出力できない [%s]\r\n", name);
    LogInfo(c, u"コンパイルは成功しましたが、書き込めませんでした：%s\r\n", reason);
  }
  return ok;
}

bool CompileAndWrite(VehicleCompiler& c, char* text, size_t length, LogBuffer& log) {
  ResetForCompilation(c);
  c.error_mark = 0;
  c.log = &log;
  Log(log, 1, u"=== 車輌コンパイル version 5.10 ===\r\n");

  // Work on a copy with a spare NUL so no token ever runs off the text.
  std::vector<char> copy(text, text + length);
  copy.push_back(0);
  std::u16string file_label;
  if (!c.include_stack.empty()) {
    SplitPath parts = FsSplitPath(c.include_stack[0]);
    file_label = parts.name + parts.ext;
  }
  FsReadRecorder reads;
  FsReadCache cache;  // libraries and texture headers named by many models
  ModelLibraryCache libraries;  // and what reading each library gave
  if (!ParseScript(c, copy.data(), length, file_label)) return false;
  if (!c.container_part) AppendTextureBlock(c);

  WriteMarker(c.stream, 0x0001);
  if (c.stream.overflowed) {
    // A vehicle too large for one data file is rejected whole.
    if (!c.overflow_reported) LogError(c, u"エラー：出力データが128MiBを超えた\r\n");
    return false;
  }
  // The texture block's own errors leave the file valid; only a file that
  // could not be written fails the compilation.
  return WriteVehicleDataFile(c, reads);
}

}  // namespace

void SetScriptPath(VehicleCompiler& c, const std::u16string& script_path) {
  SplitPath parts = FsSplitPath(script_path);
  c.script_folder = parts.folder;
  c.script_name = parts.name;
  c.include_stack.assign(1, script_path);
}

uint32_t Compile(VehicleCompiler& c, char* text, size_t length, LogBuffer& log) {
  const bool compiled = CompileAndWrite(c, text, length, log);
  LogDroppedLines(log);
  return compiled ? kCompileOk : kCompileFailed;
}

void CmdInclude(VehicleCompiler& c, uint32_t) {
  const std::u16string name = TokenText(c, 1);
  // Relative to the main script's folder, wherever the including file lies.
  const std::u16string path = FsResolve(c.script_folder, name);
  for (const std::u16string& open : c.include_stack) {
    if (FsSamePlace(open, path) || FsSameFile(open, path)) {
      LogError(c, u"エラー：includeが循環している [%s]\r\n", name);
      return;
    }
  }
  // Each level of nesting costs stack: a chain of files stops at a fixed depth.
  if (c.include_stack.size() > kMaxIncludeDepth) {
    LogError(c, u"エラー：includeの入れ子が深すぎる [%s]\r\n", name);
    return;
  }
  std::vector<uint8_t> bytes;
  if (name.empty() || !FsReadFile(path, bytes)) {
    LogInfo(c, u"includeファイルが見つからない [%s]\r\n", name);
    return;
  }
  if (bytes.empty()) return;
  // The included text shares the token slots: keep the caller's line.
  char* saved[kMaxTokens];
  std::memcpy(saved, c.tokens, sizeof saved);
  bytes.push_back(0);
  c.include_stack.push_back(path);
  // Log lines name the file as the main script names it.
  ParseScript(c, reinterpret_cast<char*>(bytes.data()), bytes.size() - 1, name);
  c.include_stack.pop_back();
  std::memcpy(c.tokens, saved, sizeof saved);
}

void ResetCompiler(VehicleCompiler& c) {
  ReleasePreviewObjects(c.preview);
  c.stream.Release();
}
