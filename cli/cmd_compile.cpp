// railwick compile SCRIPT [-o OUTPUT]
#include <memory>

#include "cli/cli.h"
#include "cli/log_print.h"
#include "compiler/vehicle_compiler.h"
#include "modelio/file_utils.h"
#include "platform/fs.h"
#include "platform/sjis.h"

int CliCompile(const ScriptOptions& options) {
  const std::string& script = options.script;
  const std::string& output = options.output;
  const std::u16string script_path = FsAbsolute(Utf8ToUtf16(script));
  std::vector<uint8_t> text;
  if (!FsReadFile(script_path, text)) {
    CliError("cannot read " + script);
    return kExitUsage;
  }
  auto compiler = std::make_unique<VehicleCompiler>();
  if (!output.empty()) compiler->output_override = FsAbsolute(Utf8ToUtf16(output));
  SetScriptPath(*compiler, script_path);
  // A hand-written script names its files relative to its own folder.
  if (!FsSetCurrentDirectory(compiler->script_folder)) {
    CliError("cannot enter the folder of " + script);
    return kExitUsage;
  }
  LogBuffer log;
  uint32_t result = Compile(*compiler, reinterpret_cast<char*>(text.data()), text.size(), log);
  PrintLog(log, stdout);
  ResetCompiler(*compiler);
  return result == kResultOk ? kExitOk : kExitFailed;
}
