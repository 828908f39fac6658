// Runs the model-command cases of tests/data/modelio/commands.txt: a script
// compiled in a scratch folder, and every "=" and "log" line checked against
// the result, the log, the records and the preview state. After each case
// the compiler is reset and must leave no preview object alive. Steps
// besides the file steps of case_file.h:
//   model NAME [SUB]     the triangle model; mesh NAME FIELDS: a file of bytes
//   scriptdir SUB        where the script lies; here: the working folder
//   compile              the body as a script (UTF-8, compiled as Shift-JIS)
//   guide                the guide lines attached, as the program does
//   reset                the compiler reset (the preview events start anew)
//   log~ TEXT, log! TEXT the log holds TEXT, or does not
//   = result ok|fail, = logcount N TEXT, = tags HEX..., = record I FIELDS,
//   = f32 I OFFSET V, = count TAG N (whole stream), = file NAME FIELDS,
//   = marks LOG COMPILER, = parts SLOT NAMES, = source SLOT PATH,
//   = events E; E...     the preview objects made and released since the
//                        last such line or reset; = made N: meshes made
//   = NAME [SLOT] V      preview state (kPreview; -1: no such object)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

#include "compiler/model_conversion.h"
#include "compiler/preview_objects.h"
#include "compiler/preview_recording.h"
#include "tests/case_text.h"
#include "tests/test_model_commands_fixture.h"

namespace {

// Bytes from the field words of a step, from word `first` on.
std::vector<uint8_t> Fields(const std::vector<std::string>& words, size_t first) {
  std::vector<uint8_t> bytes;
  for (size_t i = first; i < words.size(); ++i) AppendCaseField(bytes, words[i], u"");
  return bytes;
}

// Preview state the cases look at, by name; `k` is the slot where one is given.
const char* const kPartNames[kOptionPartCount] = {"A",    "A2",   "B",   "H",   "W",   "I",   "SIGN", "LED",
                                                  "NUMA", "NUMB", "HLM", "HLP", "TLM", "TLP", "IRE"};
const std::map<std::string, std::function<double(const PreviewState&, int)>> kPreview = {
    {"pantographs", [](const PreviewState& p, int) { return p.pantograph_count; }},
    {"pantograph_state", [](const PreviewState& p, int k) { return p.pantograph_states[k]; }},
    {"head_lights", [](const PreviewState& p, int) { return p.head_light_count; }},
    {"tail_lights", [](const PreviewState& p, int) { return p.tail_light_count; }},
    {"bodies", [](const PreviewState& p, int) { return p.body_count; }},
    {"roofs", [](const PreviewState& p, int) { return p.roof_count; }},
    {"roof_made", [](const PreviewState& p, int k) { return p.roofs[k] != nullptr; }},
    {"option_number", [](const PreviewState& p, int k) { return p.options[k].number; }},
    {"option_shown", [](const PreviewState& p, int k) { return p.option_shown[k]; }},
    {"last_initial_option", [](const PreviewState& p, int) { return p.last_initial_option; }},
    {"window_vertices", [](const PreviewState& p, int) { return p.window ? p.window->vertex_count : -1.0; }},
    {"containers", [](const PreviewState& p, int) { return p.container_mesh_count; }},
    {"wheel_diameter", [](const PreviewState& p, int k) { return p.wheels[k].diameter; }},
    {"head_marks", [](const PreviewState& p, int) { return p.head_mark_count; }},
    {"body_format", [](const PreviewState& p, int) { return p.bodies[0]->vertex_format; }},
    {"body_vertices", [](const PreviewState& p, int) { return p.bodies[0]->vertex_count; }},
    {"body_indices", [](const PreviewState& p, int) { return p.bodies[0]->index_count; }},
    {"body_min", [](const PreviewState& p, int k) { return p.bodies[0]->bounds_min[k]; }},
    {"body_max", [](const PreviewState& p, int k) { return p.bodies[0]->bounds_max[k]; }},
    {"container_number", [](const PreviewState& p, int k) { return p.container_meshes[k].number; }},
    {"frame_index", [](const PreviewState& p, int k) { return p.bogies[k].frame_index; }},
    {"bogie_wheels", [](const PreviewState& p, int k) { return p.bogies[k].wheel_count; }},
    {"second_bogie_wheel_x", [](const PreviewState& p, int k) { return p.bogies[1].wheel_placements[k][0]; }},
    {"main_width", [](const PreviewState& p, int) { return p.main_texture ? p.main_texture->width : -1.0; }},
    {"main_bytes", [](const PreviewState& p, int) { return p.main_texture ? p.main_texture->source_bytes : -1.0; }},
    {"sign_width", [](const PreviewState& p, int) { return p.sign_texture ? p.sign_texture->width : -1.0; }},
    {"guide_capacity", [](const PreviewState& p, int) { return p.guide_lines ? p.guide_lines->capacity_lines : -1.0; }},
};

void RunCase(const TestCase& c) {
  SCOPED_TRACE(c.name);
  const std::u16string dir = MakeTempFolder();
  std::u16string script_dir = dir;
  std::optional<ScopedCurrentFolder> here;
  RecordingPreviewFactory factory;
  factory.tally().keep_events = true;
  std::vector<std::string>& events = factory.tally().events;
  CompileRun run;
  std::vector<TestRecord> records;
  for (const CaseStep& s : c.steps) {
    SCOPED_TRACE("line " + std::to_string(s.line));
    const std::string& w = s.words[0];
    const std::string rest = CaseText(s.rest, dir), log = run.LogText();
    if (FileStep(s, dir)) continue;
    if (w == "model") {
      WriteTriangleModel(dir + U16(s.Word(2)), s.Word(1));
    } else if (w == "mesh") {
      const std::vector<uint8_t> bytes = Fields(s.words, 2);
      WriteTestFile(dir + U16(s.Word(1)), std::string(bytes.begin(), bytes.end()));
    } else if (w == "scriptdir") {
      script_dir = dir + U16(s.Word(1));
    } else if (w == "here") {
      here.emplace(dir);
    } else if (w == "compile") {
      ResetCompiler(*run.compiler);
      run.compiler = std::make_unique<VehicleCompiler>();
      run.log = LogBuffer();
      run.compiler->preview_factory = &factory;
      SetScriptPath(*run.compiler, script_dir + u"Test.txt");
      std::string text = Sjis(CaseText(s.body, dir));
      run.result = Compile(*run.compiler, text.data(), text.size(), run.log);
      records.clear();
      for (const TestRecord& r : SplitRecords(run.Stream())) {
        if (r.tag == 0xF008 || r.tag == 0x0001) break;  // the texture block
        records.push_back(r);
      }
    } else if (w == "guide") {
      AttachGuideLines(*run.compiler);
    } else if (w == "reset") {
      events.clear();
      ResetCompiler(*run.compiler);
    } else if (w == "log~") {
      EXPECT_NE(log.find(rest), std::string::npos) << rest << "\n" << log;
    } else if (w == "log!") {
      EXPECT_EQ(log.find(rest), std::string::npos) << rest << "\n" << log;
    } else if (w != "=") {
      ADD_FAILURE() << "unknown step " << w;
    } else if (s.Word(1) == "result") {
      EXPECT_EQ(run.result, s.Word(2) == "ok" ? 0u : 0x80004005u) << log;
    } else if (s.Word(1) == "logcount") {
      const std::string text = rest.substr(rest.find(' ', 9) + 1);
      EXPECT_EQ(CountOf(log, text), static_cast<size_t>(s.Number(2))) << text << "\n" << log;
    } else if (s.Word(1) == "tags") {
      std::vector<uint32_t> tags, expected;
      for (const TestRecord& r : records) tags.push_back(r.tag);
      for (size_t i = 2; i < s.words.size(); ++i)
        expected.push_back(std::strtoul(s.words[i].c_str(), nullptr, 16));
      EXPECT_EQ(tags, expected);
    } else if (s.Word(1) == "record") {
      ASSERT_LT(s.Number(2), records.size());
      EXPECT_EQ(records[static_cast<size_t>(s.Number(2))].data, Fields(s.words, 3));
    } else if (s.Word(1) == "f32") {
      ASSERT_LT(s.Number(2), records.size());
      EXPECT_EQ(F32At(records[static_cast<size_t>(s.Number(2))].data, static_cast<size_t>(s.Number(3))),
                std::strtof(s.Word(4).c_str(), nullptr));
    } else if (s.Word(1) == "count") {
      size_t n = 0;
      for (const TestRecord& r : SplitRecords(run.Stream()))
        n += r.tag == std::strtoul(s.Word(2).c_str(), nullptr, 16);
      EXPECT_EQ(n, static_cast<size_t>(s.Number(3)));
    } else if (s.Word(1) == "file") {
      const std::string bytes = ReadTestFile(dir + U16(s.Word(2)));
      EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), Fields(s.words, 3));
    } else if (s.Word(1) == "marks") {
      EXPECT_EQ(run.log.error_mark, s.Number(2));
      EXPECT_EQ(run.compiler->error_mark, s.Number(3));
    } else if (s.Word(1) == "parts") {
      std::string parts;
      for (int p = 0; p < kOptionPartCount; ++p)
        if (run.compiler->preview.options[static_cast<int>(s.Number(2))].parts[p]) parts += kPartNames[p];
      EXPECT_EQ(parts, s.Word(3));
    } else if (s.Word(1) == "events") {
      std::string made;
      for (const std::string& e : events) made += (made.empty() ? "" : "; ") + e;
      events.clear();
      EXPECT_EQ(made, rest.substr(7));
    } else if (s.Word(1) == "made") {
      EXPECT_EQ(factory.tally().meshes_made, s.Number(2));
    } else if (s.Word(1) == "source") {
      const PreviewMesh* mesh =
          s.Word(2) == "window" ? run.compiler->preview.window.get() : run.compiler->preview.interior.get();
      ASSERT_NE(mesh, nullptr);
      EXPECT_EQ(U8(mesh->source), CaseText(s.Word(3), dir));
    } else {
      const bool slot = s.words.size() > 3;
      const double actual = kPreview.at(s.Word(1))(run.compiler->preview, slot ? int(s.Number(2)) : 0);
      EXPECT_EQ(actual, s.Number(slot ? 3 : 2)) << s.Word(1);
    }
  }
  ResetCompiler(*run.compiler);
  EXPECT_EQ(factory.tally().LiveObjects(), 0);
}

TEST(ModelCommandCases, CompileAsExpected) {
  const std::vector<TestCase> cases = ReadCases("commands.txt");
  ASSERT_FALSE(cases.empty());
  for (const TestCase& c : cases) RunCase(c);
}

TEST(ModelCommandCases, AMeshFileThatCannotBeReadBackIsAnError) {
  const std::u16string folder = MakeTempFolder();
  VehicleCompiler c;
  LogBuffer log;
  c.log = &log;
  std::vector<uint8_t> mesh;
  EXPECT_FALSE(ReadMeshForEmbedding(c, folder + u"nothing.obj", mesh));
  EXPECT_EQ(U8(log.text), "メッシュファイルが読み込めない [" + U8(folder) + "nothing.3dd]\r\n");
  EXPECT_EQ(c.error_mark, 1);
  WriteTestFile(folder + u"short.3dd", std::string("\x64\0\0\0", 4));
  EXPECT_FALSE(ReadMeshForEmbedding(c, folder + u"short.obj", mesh));
  EXPECT_TRUE(mesh.empty());
}

}  // namespace

// No script reaches a mesh that fails to load: the conversion's own bytes
// always do. A damaged one still gives an (empty) preview mesh to release.
TEST(ModelCommandCases, UnloadableMeshLeavesAnEmptyPreviewMesh) {
  RecordingPreviewFactory factory;
  const uint8_t truncated[8] = {};
  auto mesh = factory.LoadMeshBytes(truncated, sizeof truncated, u"nothing.3dd");
  ASSERT_NE(mesh, nullptr);
  EXPECT_TRUE(!mesh->loaded && mesh->vertex_count == 0);
  mesh.reset();
  EXPECT_TRUE(factory.tally().meshes_made == 1 && factory.tally().meshes_released == 1);
}
