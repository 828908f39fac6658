// The record every model command writes for a minimal model, compared with
// bytes laid out by hand from the record table.
#include <gtest/gtest.h>

#include "compiler/preview_recording.h"
#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"

namespace {

class ModelRecords : public ::testing::Test {
 protected:
  std::u16string folder = MakeTempFolder();
  void SetUp() override { WriteTriangleModel(folder, "m"); }
};

std::vector<uint8_t> MeshField(const std::vector<uint8_t>& mesh) {
  return Bytes().U32(static_cast<uint32_t>(mesh.size())).Raw(mesh).data;
}

TEST_F(ModelRecords, EveryModelCommandWritesItsRecord) {
  WriteTestFile(folder + u"extra.bin", "ABCDE");
  const std::string script =
      "BeginModel\n"
      "3D本体 m.obj\n3D屋根 m.obj\n3D窓 m.obj\n3D熱線窓 m.obj\n3D車内 m.obj\n"
      "3D字幕点灯 m.obj\n3D字幕サボ m.obj\n3D字幕サボ2 m.obj\n3D字幕LED m.obj\n3Dヘッドマーク m.obj\n"
      "3DOPTION 2 m.obj\n3DOPTION2 3 NUMA m.obj\nOPTIONINIT 4\n"
      "3D台車枠 7 m.obj\n3D車輪 1 5.5 m.obj\n台車構造枠 2 3\n台車構造車輪 2 1 1.5 2.5\n3D動輪 20 m.obj\n"
      "3Dパンタ m.obj m.obj\nPANTAINIT 3 1\n3Dヘッドライト -1.0 m.obj\n3Dテールライト 1.0 m.obj\n"
      "3D入換ライト m.obj\n3Dコンテナ 5 \"名前\" extra.bin m.obj\nMAINRENDERPARAM 1 -2 0.5 1.5 2.5\n"
      "ContainerOBJMain m.obj\nEndModel\n";
  auto run = CompileScript(script, folder);
  ASSERT_EQ(run->result, 0u) << run->LogText();
  const std::vector<uint8_t> mesh = TriangleMesh();
  ASSERT_EQ(mesh.size(), 118u);
  const std::vector<uint8_t> m = MeshField(mesh);

  std::vector<std::vector<uint8_t>> expected = {Bytes::Record(0xF006, Bytes())};
  for (uint32_t tag :
       {0x1300u, 0x1302u, 0x1303u, 0x1307u, 0x1304u, 0x1305u, 0x1306u, 0x1309u, 0x130Du, 0x1308u})
    expected.push_back(Bytes::Record(tag, Bytes().Raw(m)));
  expected.push_back(Bytes::Record(0x130A, Bytes().U32(2).Raw(m)));
  expected.push_back(Bytes::Record(0x130C, Bytes().U32(3).U32(22).Raw(m)));
  expected.push_back(Bytes::Record(0x130B, Bytes().U32(4)));
  expected.push_back(Bytes::Record(0x1310, Bytes().U32(7).Raw(m)));
  expected.push_back(Bytes::Record(0x1311, Bytes().U32(1).F32(5.5f).Raw(m)));
  expected.push_back(Bytes::Record(0x1312, Bytes().U32(2).U32(3)));
  expected.push_back(Bytes::Record(0x1313, Bytes().U32(2).U32(1).F32(1.5f).F32(2.5f)));
  expected.push_back(Bytes::Record(0x1320, Bytes().U32(20).Raw(m)));
  expected.push_back(Bytes::Record(0x1330, Bytes().Raw(m).Raw(m)));
  expected.push_back(Bytes::Record(0x1331, Bytes().U32(3).U32(1)));
  expected.push_back(Bytes::Record(0x1340, Bytes().F32(-1.0f).Raw(m)));
  expected.push_back(Bytes::Record(0x1341, Bytes().F32(1.0f).Raw(m)));
  expected.push_back(Bytes::Record(0x1342, Bytes().Raw(m)));
  expected.push_back(
      Bytes::Record(0x1350, Bytes().U32(5).Text(u"名前", 32).U32(5).Raw({'A', 'B', 'C', 'D', 'E'}).Raw(m)));
  expected.push_back(Bytes::Record(0x1360, Bytes().U32(1).U32(0xFFFFFFFE).F32(0.5f).F32(1.5f).F32(2.5f)));
  expected.push_back(Bytes::Record(0x801102, Bytes().Raw(m)));
  expected.push_back(Bytes::Record(0xF007, Bytes()));

  const std::vector<TestRecord> records = RecordsBeforeTextureBlock(run->Stream());
  ASSERT_EQ(records.size(), expected.size());
  for (size_t i = 0; i < records.size(); ++i) {
    Bytes actual;
    actual.U32(records[i].tag).U32(static_cast<uint32_t>(records[i].data.size())).Raw(records[i].data);
    EXPECT_EQ(actual.data, expected[i]) << "record " << i << " tag " << std::hex << records[i].tag;
  }
  // 0x1350: the text field is 64 bytes, so the fixed part is 76 bytes.
  EXPECT_EQ(records[24].data.size(), 5u + 118u + 76u);
  // The mesh file stays beside the model.
  EXPECT_EQ(ReadTestFile(folder + u"m.3dd"), std::string(mesh.begin(), mesh.end()));
}

TEST_F(ModelRecords, LengthScaleReachesMeshesAndScaledFields) {
  // TEC and the model scale multiply; 2 x 1.5 = 3 is exact in floats.
  auto run = CompileScript("TEC 2\n拡大補正 1.5\n3D車輪 0 5.5 m.obj\n台車構造車輪 0 1 1.25 -0.5\n", folder);
  ASSERT_EQ(run->result, 0u) << run->LogText();
  const std::vector<TestRecord> records = RecordsBeforeTextureBlock(run->Stream());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].data, Bytes().U32(0).F32(11.0f).Raw(MeshField(TriangleMesh(3.0f))).data);
  EXPECT_EQ(records[1].data, Bytes().U32(0).U32(1).F32(2.5f).F32(-1.0f).data);
  EXPECT_DOUBLE_EQ(run->compiler->preview.wheels[0].diameter, 11.0);
}

TEST_F(ModelRecords, OptionKindsWriteTheirCodesIntoTheirSlots) {
  static const struct {
    const char* word;
    uint32_t code;
    OptionPart part;
  } kKinds[] = {{"0", 0, kOptionB},      {"1", 1, kOptionA},        {"A", 10, kOptionA},
                {"B", 11, kOptionB},     {"I", 12, kOptionI},       {"W", 13, kOptionW},
                {"H", 14, kOptionH},     {"A2", 15, kOptionA2},     {"SIGN", 20, kOptionSign},
                {"LED", 21, kOptionLed}, {"NUMA", 22, kOptionNumA}, {"NUMB", 23, kOptionNumB},
                {"HLM", 30, kOptionHlm}, {"TLM", 31, kOptionTlm},   {"HLP", 32, kOptionHlp},
                {"TLP", 33, kOptionTlp}, {"IRE", 34, kOptionIre}};
  for (const auto& kind : kKinds) {
    RecordingPreviewFactory factory;
    auto run = std::make_unique<CompileRun>();
    run->compiler->preview_factory = &factory;
    SetScriptPath(*run->compiler, folder + u"Test.txt");
    std::string text = Sjis(std::string("3DOPTION2 4 ") + kind.word + " m.obj\n");
    run->result = Compile(*run->compiler, text.data(), text.size(), run->log);
    ASSERT_EQ(run->result, 0u) << kind.word << run->LogText();
    const std::vector<TestRecord> records = RecordsBeforeTextureBlock(run->Stream());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].tag, 0x130Cu);
    EXPECT_EQ(U32At(records[0].data, 0), 4u);
    EXPECT_EQ(U32At(records[0].data, 4), kind.code) << kind.word;
    const PreviewOption& option = run->compiler->preview.options[3];
    EXPECT_EQ(option.number, 4u);
    for (int part = 0; part < kOptionPartCount; ++part)
      EXPECT_EQ(option.parts[part] != nullptr, part == kind.part) << kind.word << " part " << part;
    ResetCompiler(*run->compiler);
    EXPECT_EQ(factory.tally().LiveObjects(), 0);
  }
}

// A 24-bit TIM image of 64 x 64 pixels at (0, 0): it fixes the material's
// rectangle without changing the page, so the page decides the mapping.
std::string Tim64() {
  Bytes b;
  b.U32(0x10).U32(3).U32(12 + 64 * 64 * 3).U16(0).U16(0).U16(96).U16(64);
  std::string tim(b.data.begin(), b.data.end());
  return tim + std::string(64 * 64 * 3, '\x7f');
}

TEST_F(ModelRecords, SignModelsMapIntoTheSignPage) {
  WriteTestFile(folder + u"n.obj",
                "mtllib n.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n"
                "g g\nusemtl mat\nf 1/1 2/2 3/3\n");
  WriteTestFile(folder + u"n.mtl", "newmtl mat\nmap_Kd n.tim\n");
  WriteTestFile(folder + u"n.tim", Tim64());
  ScopedCurrentFolder here(folder);  // the TIM is looked for where it is named
  auto run = CompileScript(
      "3D字幕点灯 n.obj\n3D窓 n.obj\nテクスチャーSIGN 0 0 0 256 256\n3D字幕LED n.obj\n"
      "テクスチャーINFO 24 0 0 0 512 256\n3D車内 n.obj\n",
      folder);
  ASSERT_EQ(run->result, 0u) << run->LogText();
  const std::vector<TestRecord> records = RecordsBeforeTextureBlock(run->Stream());
  ASSERT_EQ(records.size(), 4u);
  // u of the second vertex (u = 1 in the file): 64 / page width; v of the
  // third (v = 1): 1 - 64 / page height.
  const size_t u_of_second = 4 + 16 + 32 + 24, v_of_third = 4 + 16 + 64 + 28;
  const float expected_u[] = {0.5f, 0.25f, 0.25f, 0.125f};
  const float expected_v[] = {0.5f, 0.75f, 0.75f, 0.75f};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(F32At(records[i].data, u_of_second), expected_u[i]) << i;
    EXPECT_EQ(F32At(records[i].data, v_of_third), expected_v[i]) << i;
  }
}

}  // namespace
