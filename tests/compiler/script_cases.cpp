// Scripts in, records and messages out: every tests/data/compiler/NAME.txt
// holds scripts under "=== title" lines, NAME.expected what each must give
// under the same titles (the directives are listed in tests/data/compiler/README).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "platform/fs.h"
#include "tests/case_text.h"
#include "tests/test_model_commands_fixture.h"

namespace {

// The compiler's state after a run, as key=value words.
std::map<std::string, std::string> StateOf(const CompileRun& run, const std::u16string& folder) {
  const VehicleCompiler& c = *run.compiler;
  std::map<std::string, std::string> s;
  auto num = [](double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return std::string(text);
  };
  s["bogies"] = std::to_string(c.preview.bogie_count);
  for (size_t i = 0; i < kMaxBogies; ++i) s["bogie" + std::to_string(i)] = num(c.preview.bogies[i].position);
  s["name"] = U8(c.preview.vehicle_name);
  s["flags"] = std::to_string(c.preview.extension_flags);
  s["containers"] = std::to_string(c.preview.container_positions.size());
  for (const WaveEntry& w : c.preview.waves) s["waves"] += U8(w.name) + ":" + std::to_string(w.number) + ",";
  s["main"] = std::to_string(c.main_texture.width) + "x" + std::to_string(c.main_texture.height);
  s["sign"] = std::to_string(c.sign_texture.width) + "x" + std::to_string(c.sign_texture.height);
  s["value0"] = std::to_string(c.main_texture.values[0]);
  std::u16string written = c.written_file;
  if (written.rfind(folder, 0) == 0) written = written.substr(folder.size());
  s["written"] = U8(written);
  for (const LogEntry& e : run.log.entries)
    if (e.source >= 0)
      s["located"] += U8(run.log.sources[e.source].file) + ":" + std::to_string(run.log.sources[e.source].line) + ",";
  s["container_vertices"] = c.preview.container_model ? std::to_string(c.preview.container_model->vertex_count) : "-";
  return s;
}

// Compiles `script` (Shift-JIS) as `script_folder`/Test.txt after the set-up
// lines of `expected` ran in `folder`, then checks the rest.
void RunSection(const std::string& script, const std::vector<std::string>& expected, const std::u16string& folder,
                const std::u16string& script_folder) {
  bool check_only = false, in_folder = false;
  std::vector<std::string> checks;
  for (const std::string& line : expected) {
    std::vector<std::string> w = CaseWords(line);
    if (w.empty() || w[0][0] == '#') continue;
    if (CaseSetUp(line, folder)) continue;
    if (w[0] == "check-only") check_only = true;
    else if (w[0] == "in-folder") in_folder = true;
    else checks.push_back(line);
  }
  auto run = std::make_unique<CompileRun>();
  run->compiler->write_files = !check_only;
  SetScriptPath(*run->compiler, script_folder + u"Test.txt");
  if (script_folder != folder) run->compiler->output_override = folder + u"Test.z5t";
  std::vector<char> bytes(script.begin(), script.end());
  {
    ScopedCurrentFolder here(in_folder ? folder : FsTempDirectory());
    run->result = Compile(*run->compiler, bytes.data(), bytes.size(), run->log);
  }
  const std::string log = run->LogText();
  const std::vector<TestRecord> records = SplitRecords(run->Stream());
  const auto state = StateOf(*run, folder);
  std::string tags;  // "<F000><1004>..."
  for (const TestRecord& r : records) tags += "<" + HexTag(r.tag) + ">";
  size_t next = 0;  // `record` lines match in order
  for (const std::string& line : checks) {
    SCOPED_TRACE(line);
    std::vector<std::string> w = CaseWords(line);
    const std::string arg = w.size() > 1 ? CaseText(w[1], folder) : "";
    const std::string& op = w[0];
    if (op == "result") {
      EXPECT_EQ(run->result, arg == "ok" ? 0u : 0x80004005u) << log;
    } else if (op == "record") {
      std::vector<uint8_t> want;
      const size_t at = w.size() > 2 && w[2][0] == '@' ? std::stoul(w[2].substr(1)) : 0;
      for (size_t i = at ? 3 : 2; i < w.size(); ++i) AppendCaseField(want, w[i], folder);
      while (next < records.size() && HexTag(records[next].tag) != arg) ++next;
      ASSERT_LT(next, records.size()) << "no record " << arg << " left\n" << log;
      const std::string data = HexText(records[next++].data);
      EXPECT_EQ(at ? data.substr(2 * at, 2 * want.size()) : data, HexText(want));
    } else if (op == "records") {
      size_t bytes = 0;
      for (const TestRecord& r : records) bytes += 8 + r.data.size();
      EXPECT_EQ(records.size(), std::stoul(arg));
      EXPECT_EQ(bytes, run->Stream().size()) << "the stream ends inside a record";
    } else if (op == "head") {
      EXPECT_EQ(HexText(run->Stream()).substr(0, arg.size()), arg);
    } else if (op == "state") {
      for (size_t i = 1; i < w.size(); ++i) {
        const size_t eq = w[i].find('=');
        ASSERT_TRUE(state.count(w[i].substr(0, eq))) << w[i];
        EXPECT_EQ(state.at(w[i].substr(0, eq)), CaseText(w[i].substr(eq + 1), folder));
      }
    } else if (!CaseCheck(line, "log", log, folder) && !CaseCheck(line, "tags", tags, folder)) {
      ADD_FAILURE() << "unknown directive";
    }
  }
}

TEST(ScriptCases, EveryCaseGivesItsRecordsAndMessages) {
  const std::filesystem::path cases(U8(SourcePath("tests/data/compiler")));
  int sections = 0;
  for (const auto& entry : std::filesystem::directory_iterator(cases)) {
    if (entry.path().extension() != ".txt") continue;
    const std::string stem = (cases / entry.path().stem()).generic_string();
    const CaseSections scripts = ReadCaseSections(U16(stem + ".txt")), expected = ReadCaseSections(U16(stem + ".expected"));
    ASSERT_EQ(scripts.size(), expected.size()) << stem;
    const std::u16string folder = MakeTempFolder();
    for (size_t i = 0; i < scripts.size(); ++i) {
      SCOPED_TRACE(entry.path().filename().string() + ": " + scripts[i].first);
      ASSERT_EQ(scripts[i].first, expected[i].first);
      std::string text;
      for (const std::string& line : scripts[i].second) text += line + "\n";
      RunSection(CaseBytes(text), expected[i].second, folder, folder);
      ++sections;
    }
  }
  EXPECT_GE(sections, 40);
}

// The golden vehicle compiles where it lies, from its Shift-JIS script as
// it stands, into the records golden_records.py worked out.
TEST(ScriptCases, GoldenVehicleGivesTheHandComputedRecords) {
  const std::u16string golden = SourcePath("tests/data/golden/");
  const CaseSections expected = ReadCaseSections(golden + u"whole_vehicle.expected");
  ASSERT_EQ(expected.size(), 1u);
  RunSection(ReadTestFile(golden + u"whole_vehicle.txt"), expected[0].second, MakeTempFolder(), golden);
}

}  // namespace
