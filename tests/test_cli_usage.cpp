// The command line as a user mistypes it: every command rejects an unknown
// option, a missing argument and a repeated option alike (exit 2, naming
// it), and COMMAND --help prints that command's usage.
#include <gtest/gtest.h>

#include "tests/test_util.h"

namespace {

TEST(CliUsage, MistakesAreNamedAndHelpIsPerCommand) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;  // a piece of stdout; "" when it must stay empty
    const char* err;  // a piece of stderr
  } cases[] = {
      {{"frobnicate"}, 2, "", "unknown command 'frobnicate' (see railwick --help)"},
      {{"--frobnicate"}, 2, "", "--frobnicate (see railwick --help)"},
      {{"make", "p.xml", "--bogus"}, 2, "", "--bogus (see railwick make --help)"},
      {{"dump", "--bogus", "f.z5t"}, 2, "", "--bogus (see railwick dump --help)"},
      {{"make"}, 2, "", "PROJECT.xml is required (see railwick make --help)"},
      {{"make", "a.xml", "b.xml"}, 2, "", "b.xml"},
      {{"diff", "a.z5t"}, 2, "", "B is required"},
      {{"verify"}, 2, "", "FILE is required"},
      {{"verify", "/no/such.z5t"}, 2, "", "railwick: /no/such.z5t: cannot read the file"},
      {{"compile", "s.txt", "-o"}, 2, "", "-o: 1 required OUTPUT missing"},
      {{"compile", "s.txt", "-o", "a.z5t", "-o", "b.z5t"}, 2, "", "-o: At Most 1"},
      {{"make", "p.xml", "-o", "a", "-o", "b"}, 2, "", "-o: At Most 1"},
      {{"watch", "p.xml", "-o", "a", "-oa"}, 2, "", "-o: At Most 1"},
      {{"script", "p.xml", "--workshop", "W", "--workshop=V"}, 2, "", "--workshop: At Most 1"},
      {{"check", "p.xml", "--workshop", "W", "--workshop", "W"}, 2, "", "--workshop: At Most 1"},
      {{"dump", "--json", "--json", "f.z5t"}, 2, "", "--json: At Most 1"},
      {{"make", "--help"}, 0, "Usage: railwick make [OPTIONS] PROJECT.xml", ""},
      {{"make", "p.xml", "-h"}, 0, "--workshop NAME", ""},
      {{"diff", "--help"}, 0, "Usage: railwick diff [OPTIONS] A B", ""},
      {{"--help"}, 0, "usage: railwick COMMAND [ARGS]", ""},
      {{}, 2, "usage: railwick COMMAND [ARGS]", ""},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += " " + a;
    SCOPED_TRACE(line);
    const ToolRun run = RunTool(c.args);
    EXPECT_EQ(run.status, c.status) << run.out << run.err;
    EXPECT_TRUE(*c.out ? run.out.find(c.out) != std::string::npos : run.out.empty()) << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.err.rfind("railwick: ", 0), *c.err ? 0u : std::string::npos) << run.err;
  }
}

}  // namespace
