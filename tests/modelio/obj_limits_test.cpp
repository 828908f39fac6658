// What the case files cannot hold: damaged model and mesh files by the
// thousand, numbers against a correctly rounding reader, the message
// buffer's limits, and the mesh files of the
// legacy corpus against the digests the earlier reader's files had.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

#include "compiler/md5.h"
#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"
#include "tests/case_text.h"
#include "tests/test_model_commands_fixture.h"

namespace {

// Bytes a damaged file tends to hold where a digit or separator was.
const char kNoise[] = {'\0', '\n', '\r', '\x1E', ',',    '/',    '-',    '+',
                       '.',  'e',  '9',  ' ',    '\x81', '\xB1', '\x01', 'f'};

TEST(ObjHostile, MutatedFilesStayConsistent) {
  // Groups and quads, then objects, larger polygons and names with blanks.
  const std::string points =
      "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\nvn 0 0 0\n";
  const std::string seeds[] = {
      points + "g a\nusemtl x\ns 1\nf 1/1/1 2/2/1 3/3/2 4/4/1\nf -1/-1 -2/-2/-1 -3/-3\nf 1/1 5/1 1/2\n",
      points + "o Car Body\nusemtl x y\ns 1\nf 1/1/1 2/2/1 3/3/2 4/4/1 5/1/1 -2/-2\no\nf -1/-1 -2/-2/-1 -3/-3 1/1 2/2\n"
               "f 1/1 5/1 1/2\n"};
  std::mt19937 random(12345);
  ObjModelPtr m = NewObjModel();
  for (int round = 0; round < 800; ++round) {
    std::string text = seeds[round / 400];
    for (int e = 0, edits = 1 + static_cast<int>(random() % 6); e < edits; ++e) {
      const size_t at = random() % text.size();
      switch (random() % 4) {
        case 0:
          text[at] = kNoise[random() % sizeof kNoise];
          break;
        case 1:
          text.insert(at, 1, kNoise[random() % sizeof kNoise]);
          break;
        case 2:
          text.erase(at, 1 + random() % 4);
          break;
        default:
          text.resize(at);  // truncated
      }
      if (text.empty()) text = "f";
    }
    SCOPED_TRACE(text);
    ResetObjModel(*m);
    m->mirror_z = round & 1;
    const ObjResult result =
        ReadObjBytes(*m, reinterpret_cast<const uint8_t*>(text.data()), text.size(), u"x.obj");
    ASSERT_TRUE(result == ObjResult::kOk || result == ObjResult::kStopped) << std::hex << static_cast<uint32_t>(result);
    ASSERT_EQ(m->index_count % 3, 0);
    for (int32_t i = 0; i < m->index_count; ++i) ASSERT_LT(m->indices[i], m->corner_count);
    if (m->corner_count == 0) continue;
    std::vector<MeshVertex> vertices(static_cast<size_t>(m->corner_count));
    std::vector<uint16_t> indices(static_cast<size_t>(m->index_count) + 1);
    ConvertObjModel(*m, vertices.data(), indices.data(), 0.0f, 0.5f, nullptr, 1.0f);
    for (const MeshVertex& v : vertices)
      for (float n : v.normal) ASSERT_FALSE(std::isnan(n));
  }
}

TEST(ObjHostile, MutatedMeshFilesAreCheckedBeforeUse) {
  const std::vector<uint8_t> good = TriangleMesh();
  MeshData mesh;
  ASSERT_EQ(ParseMeshFile(good.data(), good.size(), mesh), MeshFileCheck::kOk);
  std::mt19937 random(777);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> bytes = good;
    bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
    if (random() % 4 == 0) bytes.resize(random() % bytes.size());
    if (ParseMeshFile(bytes.data(), bytes.size(), mesh) != MeshFileCheck::kOk) {
      EXPECT_TRUE(mesh.vertices.empty() && mesh.indices.empty());
      continue;
    }
    ASSERT_EQ(bytes.size(), 16 + 32 * mesh.vertices.size() + 2 * mesh.indices.size());
    for (uint16_t index : mesh.indices) ASSERT_LT(index, mesh.vertices.size());
  }
}

// Short decimals take a path of their own, which must give the bits glibc's
// strtod gives, read as a double and rounded to float; past 7 whole or 8
// fraction digits, past the powers of ten a double holds exactly (10^22),
// and next to float midpoints, the general reader.
TEST(ObjNumbers, RandomDecimalsRoundAsACorrectReader) {
  std::mt19937 random(20261207);
  std::vector<std::string> tokens = {"0.10000000149011612",
                                     "1.00000005960464",
                                     "16777217.0",
                                     "0.30000001192092896",
                                     "1e22",
                                     "1e23",
                                     "-3.25e23"};
  for (int i = 0; i < 20000; ++i) {
    std::string t = random() % 2 ? "-" : "";
    const int whole = static_cast<int>(random() % 10), fraction = static_cast<int>(random() % 11);
    for (int k = 0; k < whole; ++k) t += static_cast<char>('0' + random() % 10);
    t += '.';
    for (int k = 0; k < fraction; ++k) t += static_cast<char>('0' + random() % 10);
    tokens.push_back(whole + fraction == 0 ? t + "5" : t);
  }
  std::string text;
  for (const std::string& t : tokens) text += "v " + t + " 0 0\n";
  ObjModelPtr m = NewObjModel();
  ASSERT_EQ(ReadObjBytes(*m, reinterpret_cast<const uint8_t*>(text.data()), text.size(), u"x.obj"),
            ObjResult::kOk);
  ASSERT_EQ(m->position_count, static_cast<int32_t>(tokens.size()));
  for (size_t i = 0; i < tokens.size(); ++i) {
    const float expected = static_cast<float>(std::strtod(tokens[i].c_str(), nullptr));
    ASSERT_EQ(std::memcmp(&m->positions[i][0], &expected, 4), 0) << tokens[i];
  }
}

TEST(ObjMessages, PrefixesCountsAndLimits) {
  ObjModelPtr model = NewObjModel();
  std::u16string text;
  model->message_text = &text;
  model->message_capacity = 40;
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageText, u"plain %d%%\r\n", -12), 12);
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageWarning, u"w [%s]\r\n", u"x"), 7);
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageError, u"%s", u""), 0);  // empty: nothing at all
  EXPECT_EQ(text, u"plain -12%\r\nWARNING : w [x]\r\n");
  EXPECT_EQ(model->warning_count, 1);
  EXPECT_EQ(model->error_count, 0);
  // Long texts are kept and counted like any other (the formatter's limit is
  // 65,535 units). The message text is cut at its capacity (a terminator's
  // room left).
  const std::u16string big(2046, u'a');
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageError, u"%s!", big), 2047);
  EXPECT_EQ(AppendModelMessage(*model, kModelMessageError, u"%s!!", big), 2048);
  EXPECT_EQ(model->error_count, 2);
  EXPECT_EQ(text.size(), 39u);
  EXPECT_EQ(text.substr(29), u"ERROR : aa");
  // Without a message text the counts still run.
  model->message_text = nullptr;
  AppendModelMessage(*model, kModelMessageError, u"e\r\n");
  EXPECT_EQ(model->error_count, 3);
}

// tests/data/modelio/models/legacy: models in the narrow shape the reader
// always took give byte for byte the mesh files the earlier reader gave
// (digests.txt: model, options, result, errors, warnings, MD5), from the
// models' folder and from elsewhere (textures then found beside the library).
TEST(ObjLegacyCorpus, MeshFilesStayByteIdentical) {
  const std::u16string folder = SourcePath("tests/data/modelio/models/legacy/"), scratch = MakeTempFolder();
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : CaseFileLines(folder + u"digests.txt"))
    if (CaseWords(line).size() == 6 && line[0] != '#') rows.push_back(CaseWords(line));
  ASSERT_EQ(rows.size(), 36u);  // twelve models, three option sets
  for (const std::u16string& working : {folder, scratch}) {
    ScopedCurrentFolder here(working);
    for (const std::vector<std::string>& e : rows) {
      SCOPED_TRACE(e[0] + " " + e[1]);
      ObjModelPtr m = NewObjModel();
      m->mirror_z = e[1] == "mirror";
      m->flip_v = e[1] != "flipped";
      m->flip_u = m->invert_face_normals = e[1] == "flipped";
      EXPECT_EQ(static_cast<uint32_t>(ReadObjFile(*m, folder + U16(e[0]))), std::stoul(e[2]));
      EXPECT_EQ(m->error_count, std::stoi(e[3]));
      EXPECT_EQ(m->warning_count, std::stoi(e[4]));
      ASSERT_TRUE(WriteMeshFile(*m, scratch + u"mesh.3dd", 0.5f, nullptr, 1.0f, 0.0f));
      const std::string bytes = ReadTestFile(scratch + u"mesh.3dd");
      EXPECT_EQ(Md5Hex(Md5(bytes.data(), bytes.size())), e[5]);
    }
  }
}

}  // namespace
