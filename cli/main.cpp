// The command line: one subcommand per command, parsed by CLI11. Every
// option may be given once; a usage error names what is wrong, exit 2.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>

#include "cli/cli.h"
#include "platform/console.h"

namespace {

struct CommandHelp {
  const char* name;
  const char* synopsis;
  const char* summary;
};

const CommandHelp kCommands[] = {
    {"compile", "compile SCRIPT [-o OUTPUT]", "compile a vehicle script into a data file"},
    {"dump", "dump [--json] FILE", "list the records of a vehicle data file"},
    {"verify", "verify FILE", "check a data file's digest and records"},
    {"diff", "diff A B", "compare two data files record by record"},
    {"check", "check PROJECT.xml", "list every problem that would stop make"},
    {"watch", "watch PROJECT.xml [-o OUTDIR] [--workshop NAME]",
     "make data again whenever a file of the project changes"},
    {"make", "make PROJECT.xml [-o OUTDIR] [--workshop NAME]",
     "make a project's data file (workshop name also from RAILWICK_WORKSHOP)"},
    {"script", "script PROJECT.xml [-o SCRIPT] [--workshop NAME]",
     "write a project's vehicle script for editing by hand"},
};

void PrintHelp() {
  std::printf("usage: railwick COMMAND [ARGS]\n\ncommands:\n");
  for (const CommandHelp& c : kCommands) {
    if (std::char_traits<char>::length(c.synopsis) < 29)
      std::printf("  %-29s%s\n", c.synopsis, c.summary);
    else
      std::printf("  %s\n  %29s%s\n", c.synopsis, "", c.summary);
  }
  std::printf("\n  --help      this text\n  --version   the program's version\n"
              "\n  railwick COMMAND --help   the usage of one command\n");
}

const char* Summary(const char* name) {
  for (const CommandHelp& c : kCommands)
    if (std::string(name) == c.name) return c.summary;
  return "";
}

// The parsed command, run once parsing succeeded.
using Runner = std::function<int()>;
using Commands = std::vector<std::pair<CLI::App*, Runner>>;

CLI::App* AddCommand(CLI::App& app, const char* name, Commands& commands, Runner run) {
  CLI::App* command = app.add_subcommand(name, Summary(name));
  commands.emplace_back(command, std::move(run));
  return command;
}

// make, script, check and watch: PROJECT.xml, -o and --workshop.
CLI::App* AddProjectCommand(CLI::App& app, const char* name, Commands& commands, ProjectOptions& options,
                            const char* output_name, const char* output_help, Runner run) {
  CLI::App* command = app.add_subcommand(name, Summary(name));
  commands.emplace_back(command, [&options, command, run] {
    options.workshop_given = command->count("--workshop") > 0;
    return run();
  });
  command->add_option("PROJECT.xml", options.project_file, "the project file")->required();
  command->add_option("-o", options.output, output_help)->type_name(output_name);
  command->add_option("--workshop", options.workshop, "the workshop name (else RAILWICK_WORKSHOP)")
      ->type_name("NAME");
  return command;
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
  if (argv[1] == "help") {
    PrintHelp();
    return kExitOk;
  }

  CLI::App app{"", "railwick"};
  // A repeated option is an error everywhere, flags included.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::Throw);
  // A path such as /tmp/a.xml is an argument on Windows too, never an option.
  app.allow_windows_style_options(false);
  bool version = false;
  app.add_flag("--version", version, "the program's version");

  // Only the command named first is set up (the others cost a tenth of a
  // short make); any other first word sets up all, for CLI11's errors.
  static const char* const kCommands[] = {"compile", "dump", "verify", "diff", "check", "watch", "make", "script"};
  const bool named = std::find(std::begin(kCommands), std::end(kCommands), argv[1]) != std::end(kCommands);
  auto wanted = [&](const char* name) { return !named || argv[1] == name; };

  Commands commands;
  CLI::App* c = nullptr;
  ScriptOptions compile;
  if (wanted("compile")) {
    c = AddCommand(app, "compile", commands, [&] { return CliCompile(compile); });
    c->add_option("SCRIPT", compile.script, "the vehicle script")->required();
    c->add_option("-o", compile.output, "the data file to write (default: named by the script)")
        ->type_name("OUTPUT");
  }

  DataFileOptions dump, verify;
  if (wanted("dump")) {
    c = AddCommand(app, "dump", commands, [&] { return dump.json ? CliDumpJson(dump) : CliDump(dump); });
    c->add_option("FILE", dump.file, "the vehicle data file")->required();
    c->add_flag("--json", dump.json, "the listing as one JSON document")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
  }
  if (wanted("verify")) {
    c = AddCommand(app, "verify", commands, [&] { return CliVerify(verify); });
    c->add_option("FILE", verify.file, "the vehicle data file")->required();
  }

  DiffOptions diff;
  if (wanted("diff")) {
    c = AddCommand(app, "diff", commands, [&] { return CliDiff(diff); });
    c->add_option("A", diff.file_a, "the first data file")->required();
    c->add_option("B", diff.file_b, "the second data file")->required();
  }

  ProjectOptions check, make, script;
  WatchOptions watch;
  if (wanted("check"))
    AddProjectCommand(app, "check", commands, check, "OUTDIR", "the output folder make would use",
                      [&] { return CliCheck(check); });
  if (wanted("watch")) {
    c = AddProjectCommand(app, "watch", commands, watch, "OUTDIR", "the output folder, made when missing",
                          [&] { return CliWatch(watch); });
    c->add_option("--max-builds", watch.max_builds, "stop after N builds")->type_name("N");
  }
  if (wanted("make"))
    AddProjectCommand(app, "make", commands, make, "OUTDIR", "the output folder, made when missing",
                      [&] { return CliMake(make); });
  if (wanted("script"))
    AddProjectCommand(app, "script", commands, script, "SCRIPT", "the script file to write",
                      [&] { return CliScript(script); });

  // CLI11 takes the arguments last first.
  std::vector<std::string> args(argv.rbegin(), argv.rend() - 1);
  // The command whose help fits an error: the one being parsed, if any.
  auto hint = [&] {
    const std::vector<CLI::App*> chosen = app.get_subcommands();
    return chosen.empty() ? std::string("railwick --help") : "railwick " + chosen.front()->get_name() + " --help";
  };
  try {
    app.parse(args);
  } catch (const CLI::CallForHelp&) {
    if (app.get_subcommands().empty())
      PrintHelp();
    else
      std::printf("%s", app.help().c_str());
    return kExitOk;
  } catch (const CLI::ExtrasError& e) {
    // A first word that is no command and no option.
    if (app.get_subcommands().empty() && !argv[1].empty() && argv[1][0] != '-') {
      CliError("unknown command '" + argv[1] + "' (see railwick --help)");
      return kExitUsage;
    }
    CliError(std::string(e.what()) + " (see " + hint() + ")");
    return kExitUsage;
  } catch (const CLI::ParseError& e) {
    CliError(std::string(e.what()) + " (see " + hint() + ")");
    return kExitUsage;
  }
  if (version) {
    std::printf("railwick %s\n", RAILWICK_VERSION);
    return kExitOk;
  }
  for (const auto& [command, run] : commands)
    if (command->parsed()) return run();
  PrintHelp();
  return kExitUsage;
}
