// The vehicle compiler: its working state, the preview state it leaves
// behind, and the entry points of one compilation.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "compiler/log_buffer.h"
#include "compiler/preview_state.h"
#include "compiler/record_stream.h"

constexpr int kMaxTokens = 32;
// Files an include chain may hold open at once, the main script included.
constexpr size_t kMaxIncludeDepth = 64;

struct TextureDescription {
  uint32_t bits = 0;
  uint16_t values[3] = {0, 0, 0};
  uint32_t width = 0;
  uint32_t height = 0;
};

struct ModelOptions {
  bool flip_v = true;
  bool mirror_z = false;
  bool invert_normals = false;
};

struct VehicleCompiler {
  // Set for each compilation.
  LogBuffer* log = nullptr;
  int error_mark = 0;
  std::u16string script_folder;  // with trailing separator
  std::u16string script_name;    // without folder and extension
  std::u16string output_subpath = u"test.z4t";
  bool container_part = false;
  std::u16string container_name, container_guide, container_maker;
  uint32_t container_texture_size = 128;

  // Tokens of the line being executed; null where absent.
  char* tokens[kMaxTokens] = {};

  float model_scale = 1.0f;
  float length_scale = 1.0f;
  float smoothing_degrees = 28.0f;
  ModelOptions model_options;

  TextureDescription main_texture{0, {0, 0, 0}, 256, 256};
  TextureDescription sign_texture{0, {0, 0, 0}, 128, 128};
  std::u16string main_png_name;
  std::u16string sign_png_name;

  RecordStream stream;
  bool overflow_reported = false;

  // Files the include chain is compiling right now (cycle guard).
  std::vector<std::u16string> include_stack;

  // Where the data file went, once written.
  std::u16string written_file;
  // Set when the data file was not written because its name names one of
  // the files read (a usage error rather than a failed compilation).
  bool output_refused = false;
  // The mesh bytes the conversions of the current line produced, by OBJ
  // path, until the line embeds them.
  std::vector<std::pair<std::u16string, std::vector<uint8_t>>> converted_meshes;
  // Replaces the name the naming rule gives (the CLI's -o).
  std::u16string output_override;
  // False for a check: every step runs, but neither mesh files nor the data
  // file are written.
  bool write_files = true;

  // Makes the preview's meshes and textures; null: DefaultPreviewFactory().
  PreviewFactory* preview_factory = nullptr;
  // Told the OBJ path of each model before it is converted (progress lines).
  std::function<void(const std::u16string&)> on_model_conversion;
  // The model reader's messages, emptied before every conversion.
  std::u16string model_messages;

  PreviewState preview;
};

// Splits the script path into the script folder and name.
void SetScriptPath(VehicleCompiler& c, const std::u16string& script_path);

// What Compile returns: COM-style result codes, kept as the numbers the
// callers store and compare.
constexpr uint32_t kCompileOk = 0;
constexpr uint32_t kCompileFailed = 0x80004005;

// Compiles a script text (the bytes are cut into tokens in place, so they
// must be writable). Relative names in it resolve against the script
// folder, never the current folder. Returns kCompileOk, or kCompileFailed
// when parsing failed, the stream overflowed, or the data file could not be
// written or would have replaced a file the compilation read
// (output_refused).
uint32_t Compile(VehicleCompiler& c, char* text, size_t length, LogBuffer& log);

// Releases the preview objects (meshes, textures, the guide-line batch) and
// the stream; the compiler can be destroyed afterwards.
void ResetCompiler(VehicleCompiler& c);
