// One Make-data run without any window: validation, the vehicle script built
// in memory, and a fresh compiler over it. The program and the command-line
// tool both run it; `railwick check` runs it without writing.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "compiler/log_buffer.h"
#include "compiler/vehicle_compiler.h"
#include "datamake/script_lines.h"
#include "project/notifier.h"
#include "project/vehicle_project.h"

enum class MakeDataStep { kValidate, kCompile, kConvertModel, kWriteDataFile };

class MakeDataProgress {
 public:
  virtual ~MakeDataProgress() = default;
  // `detail` names the file the step works on, where there is one.
  virtual void Step(MakeDataStep step, const std::u16string& detail) = 0;
};

struct MakeDataOptions {
  // Create the project's output folder (and its parents) when it is missing.
  bool create_output_folder = false;
  // Makes the compiler's preview meshes and textures; null: the default.
  PreviewFactory* preview_factory = nullptr;
  // False for a check: every step runs, but no mesh file and no data file
  // is written.
  bool write_files = true;
};

struct MakeDataResult {
  bool written = false;  // a data file was written
  // The compiler of this run and its log, present once the script was
  // built; the program keeps the compiler for its preview, also after a
  // failed compilation.
  std::unique_ptr<VehicleCompiler> compiler;
  std::unique_ptr<LogBuffer> log;
  bool compiled = false;     // Compile returned kCompileOk
  std::u16string data_file;  // as the compiler named it
  // The project field and file behind each line of the script, for messages
  // the author can act on.
  ScriptLineMap script_lines;
};

// The script's name: the type number made safe as a file name. Beside the
// project it names the vehicle (`railwick script` writes it there).
std::u16string TemporaryScriptName(const VehicleProject& p);

// The data file Make data writes: in the project's output folder, named
// after the type number (validation makes sure the folder is set).
std::u16string ProjectDataFile(const VehicleProject& p);

// Shown when a project never saved names a file by a relative path.
extern const char16_t kSaveProjectFirstMessage[];

// The project's relative paths resolve against its folder; the script is
// compiled from memory as if it lay there, and nothing but the data file and
// the mesh files is written. A project without a folder that names a
// relative path is refused. Problems before the compilation are shown
// through `notifier`; the compiler's own messages are in the result's log.
MakeDataResult RunMakeData(const VehicleProject& p, const MakeDataOptions& options, Notifier& notifier,
                           MakeDataProgress* progress = nullptr);
