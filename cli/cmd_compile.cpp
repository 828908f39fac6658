// railwick compile SCRIPT [-o OUTPUT]
#include <memory>

#include "cli/cli.h"
#include "cli/log_print.h"
#include "compiler/vehicle_compiler.h"
#include "platform/fs.h"
#include "platform/sjis.h"

int CliCompile(const ScriptOptions& options) {
  const std::string& script = options.script;
  const std::string& output = options.output;
  // Names given on the command line are the user's, relative to where the
  // command runs; names inside the script resolve against its folder.
  const std::u16string script_path = Utf8ToUtf16(script);
  std::vector<uint8_t> text;
  if (!FsReadFile(script_path, text)) {
    CliError("cannot read " + script);
    return kExitUsage;
  }
  auto compiler = std::make_unique<VehicleCompiler>();
  if (!output.empty()) compiler->output_override = Utf8ToUtf16(output);
  SetScriptPath(*compiler, script_path);
  LogBuffer log;
  const uint32_t result = Compile(*compiler, reinterpret_cast<char*>(text.data()), text.size(), log);
  PrintLog(log, stdout);
  ResetCompiler(*compiler);
  // An output that would replace an input is the caller's slip, not a fault
  // of the script.
  if (compiler->output_refused) return kExitUsage;
  return result == kCompileOk ? kExitOk : kExitFailed;
}
