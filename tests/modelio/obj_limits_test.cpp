// What the case files cannot hold: numbers against a correctly rounding
// reader, the message buffer's limits, and the mesh files of the legacy
// corpus against the digests the earlier reader's files had. (Damaged model
// and mesh files are the fuzz targets' work.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "compiler/md5.h"
#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"
#include "tests/case_text.h"

namespace {

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
