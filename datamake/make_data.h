// One Make-data run without any window: validation, the temporary script,
// a fresh compiler over it, and the removal of the script. The program and
// the command-line tool both run it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "compiler/log_buffer.h"
#include "compiler/vehicle_compiler.h"
#include "modelio/file_utils.h"
#include "project/notifier.h"
#include "project/vehicle_project.h"

enum class MakeDataStep { kValidate, kWriteScript, kCompile, kConvertModel, kWriteDataFile };

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
};

struct MakeDataResult {
  uint32_t result = kResultFail;  // kResultOk only when a data file was written
  // The compiler of this run and its log, present once the script was
  // written; the program keeps the compiler for its preview, also after a
  // failed compilation.
  std::unique_ptr<VehicleCompiler> compiler;
  std::unique_ptr<LogBuffer> log;
  uint32_t compile_result = kResultFail;
  std::u16string data_file;  // as the compiler named it
};

// The temporary script's name: the type number made safe as a file name.
std::u16string TemporaryScriptName(const VehicleProject& p);

// Runs in the current folder, where the script is written (under a name no
// existing file has) and from where the project's relative paths resolve.
// Problems before the compilation are shown through `notifier`; the
// compiler's own messages are in the result's log. The script is gone
// afterwards on every path.
MakeDataResult RunMakeData(const VehicleProject& p, const MakeDataOptions& options, Notifier& notifier,
                           MakeDataProgress* progress = nullptr);
