// railwick dump FILE / railwick verify FILE (placeholder until the data
// file reader lands).
#include "cli/cli.h"

int CliDump(const CliArgs&) {
  CliError("dump: not yet available");
  return kExitUsage;
}
int CliVerify(const CliArgs&) {
  CliError("verify: not yet available");
  return kExitUsage;
}
