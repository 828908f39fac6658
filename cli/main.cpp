#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "platform/console.h"

namespace {

struct CliCommand {
  const char* name;
  int (*run)(const CliArgs&);
  const char* usage;
};

const CliCommand kCommands[] = {
    {"compile", CliCompile, "compile SCRIPT [-o OUTPUT]  compile a vehicle script into a data file"},
    {"dump", CliDump, "dump [--json] FILE           list the records of a vehicle data file"},
    {"verify", CliVerify, "verify FILE                  check a data file's digest and records"},
    {"diff", CliDiff, "diff A B                     compare two data files record by record"},
    {"check", CliCheck, "check PROJECT.xml             list every problem that would stop make"},
    {"watch", CliWatch,
     "watch PROJECT.xml [-o OUTDIR] [--workshop NAME]\n"
     "                               make data again whenever a file of the project changes"},
    {"make", CliMake,
     "make PROJECT.xml [-o OUTDIR] [--workshop NAME]\n"
     "                               make a project's data file (workshop name also from RAILWICK_WORKSHOP)"},
    {"script", CliScript,
     "script PROJECT.xml [-o SCRIPT] [--workshop NAME]\n"
     "                               write a project's vehicle script for editing by hand"},
};

void PrintHelp() {
  std::printf("usage: railwick COMMAND [ARGS]\n\ncommands:\n");
  for (const CliCommand& c : kCommands) std::printf("  %s\n", c.usage);
  std::printf("\n  --help      this text\n  --version   the program's version\n");
}

}  // namespace

void CliError(const std::string& message) {
  std::fprintf(stderr, "railwick: %s\n", message.c_str());
}

int RunCli(const std::vector<std::string>& argv) {
  if (argv.size() < 2) {
    PrintHelp();
    return kExitUsage;
  }
  const std::string& word = argv[1];
  if (word == "--help" || word == "-h" || word == "help") {
    PrintHelp();
    return kExitOk;
  }
  if (word == "--version") {
    std::printf("railwick %s\n", RAILWICK_VERSION);
    return kExitOk;
  }
  for (const CliCommand& c : kCommands) {
    if (word == c.name) return c.run(CliArgs(argv.begin() + 2, argv.end()));
  }
  CliError("unknown command '" + word + "' (see railwick --help)");
  return kExitUsage;
}
