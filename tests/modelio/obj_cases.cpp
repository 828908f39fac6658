// Runs the OBJ/MTL reader cases of tests/data/modelio/obj/: files written
// into a scratch folder, read, and every "=" line checked against the model.
// Steps besides the file steps of case_text.h:
//   folder SUB          read from tests/data/modelio/SUB/ instead
//   set FIELD V         an option or count before reading; reset: ResetObjModel
//   base [SUB]          the base folder of texture names
//   random              restarts the process random generator
//   read NAME, readmtl NAME
//   msg TEXT            a line the read must give; the lines given are all it
//                       gives, unless a "msg~ TEXT" only asks for a part
//   = QUERY EXPECTED    numbers compare by value ("*": any, "-0": negative
//                       zero, "nan"); texts whole ("sjis:" converted, "..."
//                       an ending); {dir} is the folder
//   twin NAME           NAME read with the same options draws the same
//   mesh SCALE [X Y Z]  the mesh file with an offset; the body, when given,
//                       its bytes in hex
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "compiler/data_file.h"
#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"
#include "tests/case_text.h"
#include "tests/test_util.h"

namespace {

// clang-format off
const std::map<std::string, int32_t ObjModel::*> kCounts = {
    {"positions", &ObjModel::position_count},   {"normals", &ObjModel::normal_count},
    {"tex_coords", &ObjModel::tex_coord_count}, {"groups", &ObjModel::group_count},
    {"faces", &ObjModel::face_count},           {"materials", &ObjModel::material_count},
    {"corners", &ObjModel::corner_count},       {"index_count", &ObjModel::index_count},
    {"flip_v", &ObjModel::flip_v},              {"flip_u", &ObjModel::flip_u},
    {"mirror_z", &ObjModel::mirror_z},          {"face_errors", &ObjModel::face_error_count},
    {"warnings", &ObjModel::warning_count},     {"errors", &ObjModel::error_count},
    {"smoothing_on", &ObjModel::smoothing_on},  {"current_material", &ObjModel::current_material},
    {"invert", &ObjModel::invert_face_normals}};
// clang-format on
const std::map<std::string, ObjResult> kResults = {{"ok", ObjResult::kOk},
                                                  {"fail", ObjResult::kPageUnusable},
                                                  {"nofile", ObjResult::kNoObjFile},
                                                  {"stopped", ObjResult::kStopped},
                                                  {"nomtl", ObjResult::kNoMtlFile}};

// What a query names: numbers, or a text. `used` words of the step address it.
struct Actual {
  std::vector<float> numbers;
  std::string text;
  bool is_text = false;
  size_t used = 0;
};

Actual Numbers(size_t used, std::initializer_list<float> numbers) {
  return {numbers, "", false, used};
}
Actual Numbers(size_t used, const float* v, int n) {
  return {std::vector<float>(v, v + n), "", false, used};
}
Actual Text(size_t used, const std::string& text) {
  return {{}, text, true, used};
}

Actual Query(const ObjModel& m, const MeshData& mesh, const CaseStep& s) {
  const std::string& what = s.words[1];
  const int k = static_cast<int>(s.Number(2));
  const std::string field = s.Word(3);
  if (what == "vertex") {
    const MeshVertex& v = mesh.vertices.at(static_cast<size_t>(k));
    return field == "position" ? Numbers(4, v.position, 3) : Numbers(4, v.normal, 3);
  }
  if (kCounts.count(what)) return Numbers(2, {static_cast<float>(m.*kCounts.at(what))});
  if (what == "page") return Numbers(2, {m.page_width, m.page_height});
  if (what == "random") return Numbers(2, {static_cast<float>(NextProcessRandom())});
  if (what == "indices") {
    Actual a{{}, "", false, 2};
    for (int i = 0; i < m.index_count; ++i) a.numbers.push_back(m.indices[i]);
    return a;
  }
  if (what == "index") return Numbers(3, {static_cast<float>(m.indices[k])});
  if (what == "position") return Numbers(3, m.positions[k], 3);
  if (what == "normal") return Numbers(3, m.normals[k], 3);
  if (what == "face") {
    const ObjFace& f = m.faces[k];
    if (field == "count") return Numbers(4, {static_cast<float>(f.corner_count)});
    const uint16_t* c = f.corners[static_cast<int>(s.Number(4))];
    return field == "normal" ? Numbers(5, {float(c[2])}) : Numbers(5, {float(c[0]), float(c[1])});
  }
  if (what == "corner") {
    const ObjCorner& c = m.corners[k];
    if (field == "position") return Numbers(4, c.position, 3);
    if (field == "normal") return Numbers(4, c.normal, 3);
    if (field == "face_normal") return Numbers(4, c.face_normal, 3);
    if (field == "uv") return Numbers(4, c.uv, 2);
    const float other = field == "flags"    ? float(c.flags)
                        : field == "face"   ? float(c.face)
                        : field == "number" ? float(c.corner_number)
                                            : float(c.group);
    return Numbers(4, {other});
  }
  if (what == "group") {
    const ObjGroup& g = m.groups[k];
    if (field == "name") return Text(4, g.name);
    return Numbers(4, {float(field == "material" ? g.material : g.first_position)});
  }
  if (what == "material") {
    const ObjMaterial& t = m.materials[k];
    if (field == "name") return Text(4, t.name);
    if (field == "texture") return Text(4, U8(t.texture_path));
    return Numbers(4, {t.left, t.top, t.width, t.height});
  }
  ADD_FAILURE() << "unknown query " << what;
  return {};
}

void Check(const Actual& actual, const CaseStep& s, const std::u16string& dir) {
  std::string rest = s.rest;
  for (size_t i = 1; i < actual.used; ++i)
    rest = rest.find(' ') == std::string::npos ? "" : rest.substr(rest.find(' ') + 1);
  if (actual.is_text) {
    std::string expected = CaseText(rest, dir);
    if (expected.rfind("sjis:", 0) == 0) expected = Sjis(expected.substr(5));
    if (expected.rfind("...", 0) == 0 && actual.text.size() >= expected.size() - 3)
      expected =
          actual.text.substr(0, actual.text.size() + 3 - expected.size()) + expected.substr(3);  // an ending
    EXPECT_EQ(actual.text, expected) << "line " << s.line;
    return;
  }
  std::istringstream in(rest);
  std::vector<std::string> tokens;
  for (std::string t; in >> t;) tokens.push_back(t);
  ASSERT_EQ(actual.numbers.size(), tokens.size()) << "line " << s.line;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i] == "*") continue;  // not looked at
    const float want = std::strtof(tokens[i].c_str(), nullptr), got = actual.numbers[i];
    const bool same =
        std::isnan(want) ? std::isnan(got) : got == want && (tokens[i] != "-0" || std::signbit(got));
    EXPECT_TRUE(same) << "line " << s.line << " value " << i << ": " << got << " for " << tokens[i];
  }
}

// Options and read results of a model, as the twin comparison needs them.
struct Reader {
  ObjModelPtr model = NewObjModel();
  std::u16string messages;
  Reader() {
    model->message_text = &messages;
    model->message_capacity = kObjMessageCapacity;
  }
  // Drawn corners, three per triangle: position, normal, u, v.
  std::vector<float> Drawn() const {
    std::vector<MeshVertex> vertices(static_cast<size_t>(model->corner_count));
    ConvertObjModel(*model, vertices.data(), nullptr, 0.0f, 0.0f, nullptr, 1.0f);
    std::vector<float> out;
    for (int i = 0; i < model->index_count; ++i) {
      const MeshVertex& v = vertices[model->indices[i]];
      const int32_t group = model->corners[model->indices[i]].group;
      out.insert(out.end(), {v.position[0], v.position[1], v.position[2], v.normal[0], v.normal[1],
                             v.normal[2], v.u, v.v, float(group < 0 ? -2 : model->groups[group].material)});
    }
    for (int i = 0; i < model->material_count; ++i) {
      const ObjMaterial& t = model->materials[i];
      out.insert(out.end(), {t.left, t.top, t.width, t.height});
    }
    out.insert(out.end(), {model->page_width, model->page_height, float(model->group_count)});
    return out;
  }
};

void RunCase(const TestCase& c) {
  SCOPED_TRACE(c.name);
  Reader r;
  ObjModel& m = *r.model;
  std::u16string dir = MakeTempFolder(), base;
  ObjResult result = ObjResult::kOk;
  std::string expected_messages;
  bool check_messages = false;
  MeshData mesh;
  auto flush = [&] {
    if (check_messages) {
      EXPECT_EQ(U8(r.messages), expected_messages);
    }
    expected_messages.clear();
    check_messages = true;
  };
  for (const CaseStep& s : c.steps) {
    const std::string& w = s.words[0];
    SCOPED_TRACE("line " + std::to_string(s.line));
    if (FileStep(s, dir)) continue;
    if (w == "folder") {
      dir = SourcePath("tests/data/modelio/" + s.Word(1) + "/");
    } else if (w == "read" || w == "readmtl") {
      flush();
      r.messages.clear();
      result = w == "read" ? ReadObjFile(m, dir + U16(s.Word(1))) : ReadMtlFile(m, dir + U16(s.Word(1)));
    } else if (w == "reset") {
      ResetObjModel(m);
    } else if (w == "random") {
      ResetProcessRandom();
    } else if (w == "base") {
      base = dir + U16(s.Word(1));
      m.base_folder = &base;
    } else if (w == "set") {
      const float v = std::strtof(s.Word(2).c_str(), nullptr);
      if (s.Word(1) == "page_width")
        m.page_width = v;
      else if (s.Word(1) == "page_height")
        m.page_height = v;
      else
        m.*kCounts.at(s.Word(1)) = static_cast<int32_t>(v);
    } else if (w == "msg") {
      expected_messages += CaseText(s.rest, dir) + "\r\n";
    } else if (w == "msg~") {
      EXPECT_NE(U8(r.messages).find(CaseText(s.rest, dir)), std::string::npos) << U8(r.messages);
      check_messages = false;
    } else if (w == "=") {
      if (s.Word(1) == "result")
        EXPECT_EQ(result, kResults.at(s.Word(2)));
      else
        Check(Query(m, mesh, s), s, dir);
    } else if (w == "twin") {
      // A model in the narrow shape that must draw the same triangles.
      Reader twin;
      for (auto field :
           {&ObjModel::mirror_z, &ObjModel::flip_u, &ObjModel::flip_v, &ObjModel::invert_face_normals})
        (*twin.model).*field = m.*field;
      ASSERT_EQ(ReadObjFile(*twin.model, dir + U16(s.Word(1))), ObjResult::kOk) << U8(twin.messages);
      EXPECT_EQ(U8(twin.messages), "");
      EXPECT_EQ(r.Drawn(), twin.Drawn());
    } else if (w == "mesh") {
      // mesh SCALE [OFFSET x y z]: the mesh file, compared with the body's hex bytes.
      const float offset[3] = {float(s.Number(2)), float(s.Number(3)), float(s.Number(4))};
      ASSERT_TRUE(WriteMeshFile(m, dir + u"m.3dd", 0.5f, s.words.size() > 2 ? offset : nullptr,
                                std::strtof(s.Word(1).c_str(), nullptr), 0.0f));
      const std::string written = ReadTestFile(dir + u"m.3dd");
      std::string hex;
      for (const std::string& line : s.body) hex += line.substr(0, line.find('#'));
      if (!s.body.empty()) {
        EXPECT_EQ(HexText({written.begin(), written.end()}), HexText(HexBytes(hex)));
      }
      ASSERT_EQ(ParseMeshFile(reinterpret_cast<const uint8_t*>(written.data()), written.size(), mesh),
                MeshFileCheck::kOk);
    } else {
      ADD_FAILURE() << "unknown step " << w;
    }
  }
  flush();
}

class ObjCases : public ::testing::TestWithParam<const char*> {};

TEST_P(ObjCases, ReadAsExpected) {
  const std::vector<TestCase> cases = ReadCases(std::string("obj/") + GetParam());
  ASSERT_FALSE(cases.empty());
  for (const TestCase& c : cases) RunCase(c);
}

INSTANTIATE_TEST_SUITE_P(Files, ObjCases,
                         ::testing::Values("reader.txt", "names.txt", "textures.txt", "capacity.txt",
                                           "mesh.txt", "exports.txt"));

}  // namespace
