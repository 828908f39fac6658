// The checks of the model commands: capacities, index ranges, option words,
// texture counts, and models that cannot be converted or read back.
#include <gtest/gtest.h>

#include "compiler/model_conversion.h"
#include "compiler/preview_recording.h"
#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"

namespace {

class ModelChecks : public ::testing::Test {
 protected:
  std::u16string folder = MakeTempFolder();
  void SetUp() override { WriteTriangleModel(folder, "m"); }
  std::unique_ptr<CompileRun> Run(const std::string& utf8) { return CompileScript(utf8, folder); }
  static size_t Count(const std::vector<TestRecord>& records, uint32_t tag) {
    size_t n = 0;
    for (const TestRecord& r : records) n += r.tag == tag;
    return n;
  }
  std::string Path(const std::string& name) const { return U8(folder) + name; }
};

TEST_F(ModelChecks, FifthPantographIsTooMany) {
  std::string script;
  for (int i = 0; i < 5; ++i) script += "3Dパンタ m.obj m.obj\n";
  auto run = Run(script);
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_EQ(CountOf(run->LogText(), " モデル数が多すぎる\r\n"), 1u);
  EXPECT_EQ(Count(SplitRecords(run->Stream()), 0x1330), 4u);
  EXPECT_EQ(run->compiler->preview.pantograph_count, 4u);
}

TEST_F(ModelChecks, HeadAndTailLightsCountSeparately) {
  auto run =
      Run("3Dヘッドライト -1 m.obj\n3Dヘッドライト 1 m.obj\n3Dヘッドライト 1 m.obj\n"
          "3Dテールライト -1 m.obj\n3Dテールライト 1 m.obj\n");
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_EQ(CountOf(run->LogText(), " モデル数が多すぎる\r\n"), 1u);
  auto records = SplitRecords(run->Stream());
  EXPECT_EQ(Count(records, 0x1340), 2u);
  EXPECT_EQ(Count(records, 0x1341), 2u);
  EXPECT_EQ(run->compiler->preview.head_light_count, 2u);
  EXPECT_EQ(run->compiler->preview.tail_light_count, 2u);
  run = Run("3Dテールライト -1 m.obj\n3Dテールライト 1 m.obj\n3Dテールライト 1 m.obj\n");
  EXPECT_EQ(CountOf(run->LogText(), " モデル数が多すぎる\r\n"), 1u);
}

TEST_F(ModelChecks, OptionNumbersOneToFour) {
  for (const char* number : {"0", "5", "-1", "x"}) {
    auto run = Run(std::string("3DOPTION ") + number + " m.obj\n3DOPTION2 " + number + " A m.obj\n");
    EXPECT_EQ(run->result, 0x80004005u);
    EXPECT_EQ(CountOf(run->LogText(), std::string(" ID範囲エラー [") + number + "]\r\n"), 2u)
        << run->LogText();
    EXPECT_TRUE(RecordsBeforeTextureBlock(run->Stream()).empty());
  }
  auto run = Run("3DOPTION 1 m.obj\n3DOPTION 4 m.obj\n");
  EXPECT_EQ(run->result, 0u) << run->LogText();
  EXPECT_EQ(run->compiler->preview.options[0].number, 1u);
  EXPECT_EQ(run->compiler->preview.options[3].number, 4u);
  EXPECT_NE(run->compiler->preview.options[3].parts[kOptionB], nullptr);
}

TEST_F(ModelChecks, UnknownOptionKind) {
  // Words are compared exactly: lower case and longer words are not kinds.
  for (const char* kind : {"X", "sign", "A3", "LEDS"}) {
    auto run = Run(std::string("3DOPTION2 2 ") + kind + " m.obj\n");
    EXPECT_EQ(run->result, 0x80004005u);
    EXPECT_EQ(CountOf(run->LogText(), " 拡張オプションの種別エラー\r\n"), 1u) << kind;
    EXPECT_TRUE(RecordsBeforeTextureBlock(run->Stream()).empty());
    // The number was taken before the kind failed.
    EXPECT_EQ(run->compiler->preview.options[1].number, 2u);
  }
}

TEST_F(ModelChecks, OptionInitCoversNumbersZeroToFour) {
  auto run = Run("OPTIONINIT 0\nOPTIONINIT 3\nOPTIONINIT 2\n");
  EXPECT_EQ(run->result, 0u);
  const PreviewState& p = run->compiler->preview;
  EXPECT_TRUE(p.option_shown[0] && p.option_shown[2] && p.option_shown[3]);
  EXPECT_FALSE(p.option_shown[1] || p.option_shown[4]);
  EXPECT_EQ(p.last_initial_option, 2);
  EXPECT_EQ(Count(SplitRecords(run->Stream()), 0x130B), 3u);
  for (const char* number : {"5", "-1"}) {
    run = Run(std::string("OPTIONINIT ") + number + "\n");
    EXPECT_EQ(run->result, 0x80004005u);
    EXPECT_EQ(CountOf(run->LogText(), std::string(" ID範囲エラー [") + number + "]\r\n"), 1u);
    EXPECT_EQ(Count(SplitRecords(run->Stream()), 0x130B), 0u);
  }
}

TEST_F(ModelChecks, IndexRanges) {
  static const struct {
    const char* line;
    const char* message;
  } kCases[] = {
      {"3D台車枠 8 m.obj", "台車枠IDが異常\r\n"},
      {"3D台車枠 -1 m.obj", "台車枠IDが異常\r\n"},
      {"3D車輪 8 1 m.obj", "車輪IDが異常\r\n"},
      {"3D車輪 -1 1 m.obj", "車輪IDが異常\r\n"},
      {"台車構造枠 8 0", "台車IDが異常\r\n"},
      {"台車構造枠 0 8", "台車枠IDが異常\r\n"},
      {"台車構造枠 0 -1", "台車枠IDが異常\r\n"},
      {"台車構造車輪 8 0 1 1", "台車IDが異常\r\n"},
      {"台車構造車輪 -2 0 1 1", "台車IDが異常\r\n"},
      {"台車構造車輪 0 8 1 1", "車輪IDが異常\r\n"},
      {"3D動輪 21 m.obj", "動輪フレーム番号が異常\r\n"},
      {"3D動輪 -1 m.obj", "動輪フレーム番号が異常\r\n"},
  };
  for (const auto& c : kCases) {
    auto run = Run(std::string(c.line) + "\n");
    EXPECT_EQ(run->result, 0x80004005u) << c.line;
    EXPECT_EQ(run->LogText().find(c.message), run->LogText().find("\r\n") + 2) << c.line << run->LogText();
    EXPECT_TRUE(RecordsBeforeTextureBlock(run->Stream()).empty()) << c.line;
  }
  auto run =
      Run("3D台車枠 7 m.obj\n3D車輪 7 1 m.obj\n台車構造枠 7 7\n台車構造車輪 7 7 0 0\n3D動輪 20 m.obj\n");
  EXPECT_EQ(run->result, 0u) << run->LogText();
  EXPECT_EQ(RecordsBeforeTextureBlock(run->Stream()).size(), 5u);
}

TEST_F(ModelChecks, PantographInitialStates) {
  auto run = Run("PANTAINIT 3 1\nPANTAINIT 4 1\nPANTAINIT -1 1\nPANTAINIT 0\n");
  EXPECT_EQ(CountOf(run->LogText(), "エラー：TOKEN NULL\r\n"), 1u);
  const std::vector<TestRecord> records = SplitRecords(run->Stream());
  ASSERT_EQ(Count(records, 0x1331), 4u);
  // Every line writes its record; only pantographs 0-3 keep a state.
  EXPECT_EQ(records[3].data, Bytes().U32(0).U32(0xFFFFFFFF).data);
  const PreviewState& p = run->compiler->preview;
  EXPECT_EQ(p.pantograph_states[3], 1u);
  EXPECT_EQ(p.pantograph_states[0], 0xFFFFFFFFu);
  EXPECT_EQ(p.pantograph_states[1], 0u);
}

TEST_F(ModelChecks, ModelsMustUseExactlyOneTexture) {
  // Two materials on one texture file count once.
  WriteTestFile(folder + u"one.mtl", "newmtl a\nmap_Kd t.png\nnewmtl b\nmap_Kd t.png\n");
  WriteTestFile(folder + u"two.mtl", "newmtl a\nmap_Kd t.png\nnewmtl b\nmap_Kd u.png\n");
  WriteTestFile(folder + u"u.png", PngHeader(256, 256));
  const std::string body =
      "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\ng g\nusemtl a\nf 1/1 2/1 3/1\nusemtl b\nf 1/1 3/1 2/1\n";
  WriteTestFile(folder + u"one.obj", "mtllib one.mtl\n" + body);
  WriteTestFile(folder + u"two.obj", "mtllib two.mtl\n" + body);
  WriteTestFile(folder + u"none.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/1\n");
  auto run = Run("3D本体 one.obj\n");
  EXPECT_EQ(run->result, 0u) << run->LogText();
  EXPECT_EQ(Count(SplitRecords(run->Stream()), 0x1300), 1u);
  // A model without any texture has its own message.
  for (const auto& [name, message] : {std::pair{"two.obj", "エラー：複数テクスチャーを参照 ["},
                                      std::pair{"none.obj", "エラー：テクスチャーが指定されていない ["}}) {
    run = Run(std::string("3D本体 ") + name + "\n3D屋根 " + name + "\n");
    EXPECT_EQ(run->result, 0x80004005u);
    EXPECT_EQ(CountOf(run->LogText(), message + Path(name) + "]\r\n"), 2u) << run->LogText();
    EXPECT_TRUE(RecordsBeforeTextureBlock(run->Stream()).empty());
    // The counted groups do not advance, but the mesh made stays in the slot.
    EXPECT_EQ(run->compiler->preview.body_count, 0u);
    EXPECT_EQ(run->compiler->preview.roof_count, 0u);
    EXPECT_NE(run->compiler->preview.roofs[0], nullptr);
  }
  // Each of a pantograph's models is named on its own.
  run = Run("3Dパンタ m.obj two.obj\n");
  EXPECT_NE(run->LogText().find("エラー：複数テクスチャーを参照 [" + Path("two.obj") + "]\r\n"),
            std::string::npos);
  EXPECT_EQ(run->compiler->preview.pantograph_count, 0u);
}

TEST_F(ModelChecks, ReaderWarningsReachTheLogWithoutFailing) {
  // A texture named with an absolute folder draws a warning but is still
  // found beside the MTL file.
  WriteTestFile(folder + u"w.obj",
                "mtllib w.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\ng g\nusemtl a\nf 1/1 2/1 3/1\n");
  WriteTestFile(folder + u"w.mtl", "newmtl a\nmap_Kd /textures/t.png\n");
  // Both textures given, so nothing else is reported.
  auto run = Run("PNGTEXMAIN \"" + Path("t.png") + "\"\nPNGTEXSIGN \"" + Path("t.png") + "\"\n3D窓 w.obj\n");
  EXPECT_EQ(run->result, 0u) << run->LogText();
  const std::string expected =
      " OBJ load\r\n [" + Path("w.obj") + "]\r\nWARNING : 絶対パス指定 [/textures/t.png]\r\n";
  EXPECT_NE(run->LogText().find(expected), std::string::npos) << run->LogText();
  EXPECT_EQ(Count(SplitRecords(run->Stream()), 0x1303), 1u);
  // Logged at error level, so the log carries the mark; the compiler does not.
  EXPECT_EQ(run->log.error_mark, 1);
  EXPECT_EQ(run->compiler->error_mark, 0);
}

TEST_F(ModelChecks, ModelNamesAsModelersWriteThem) {
  // The script lies two folders below the models; the names inside the OBJ
  // and MTL files are UTF-8, as some modelers write them on every system.
  const std::u16string script_folder = folder + u"p/proj/";
  for (const char* dir : {"p", "p/proj", "p/proj/gv", "models"}) FsCreateDirectory(folder + U16(dir));
  const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\ng g\nusemtl a\nf 1/1 2/1 3/1\n";
  WriteTestFile(folder + u"models/車体.obj", "mtllib 車体.mtl\n" + triangle);
  WriteTestFile(folder + u"models/車体.mtl", "newmtl a\nmap_Kd 車体.png\n");
  WriteTestFile(folder + u"models/車体.png", PngHeader(256, 256));
  WriteTestFile(folder + u"models/gv.mtl", "newmtl a\nmap_Kd gv/t.png\n");  // from the script's folder
  WriteTestFile(folder + u"models/gv.obj", "mtllib gv.mtl\n" + triangle);
  WriteTestFile(script_folder + u"gv/t.png", PngHeader(256, 256));
  WriteTestFile(folder + u"models/lost.obj", "mtllib 無い.mtl\n" + triangle);
  WriteTestFile(folder + u"models/plain.obj", "mtllib plain.mtl\n" + triangle);
  WriteTestFile(folder + u"models/plain.mtl", "newmtl a\nKd 1 1 1\n");  // a colour, no texture
  const std::string models = U8(script_folder) + "../../models/";
  const struct {
    const char* model;
    std::string log;  // what the model adds to the log; empty: nothing
  } kCases[] = {
      {"車体.obj", ""},
      {"gv.obj", ""},
      {"lost.obj", " OBJ load\r\n [" + models + "lost.obj]\r\nERROR : no mtl file [" + models +
                       "無い.mtl]\r\nエラー：テクスチャーが指定されていない [" + models + "lost.obj]\r\n"},
      {"plain.obj", "エラー：テクスチャーが指定されていない [" + models + "plain.obj]\r\n"},
  };
  for (const auto& c : kCases) {
    auto run = CompileScript(std::string("3D本体 ../../models/") + c.model + "\n", script_folder);
    const std::string log = run->LogText();
    EXPECT_EQ(run->result, c.log.empty() ? 0u : 0x80004005u) << c.model << log;
    if (c.log.empty())
      EXPECT_EQ(log.find(" OBJ "), std::string::npos) << log;
    else
      EXPECT_NE(log.find(c.log), std::string::npos) << log;
    EXPECT_EQ(log.find("複数テクスチャー"), std::string::npos) << log;
  }
}

TEST_F(ModelChecks, FrameModelsHaveTheirOwnLoadMessage) {
  WriteTestFile(folder + u"w.obj",
                "mtllib w.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\ng g\nusemtl a\nf 1/1 2/1 3/1\n");
  WriteTestFile(folder + u"w.mtl", "newmtl a\nmap_Kd /textures/t.png\n");
  auto run = Run("3D台車枠 0 w.obj\n");
  EXPECT_NE(run->LogText().find(" OBJ LOAD\r\n [" + Path("w.obj") + "]\r\n"), std::string::npos);
}

TEST_F(ModelChecks, FailedConversionsEmbedNothing) {
  // A stale mesh file beside a model that no longer converts is not taken.
  WriteTestFile(folder + u"empty.obj", "mtllib m.mtl\ng g\nusemtl mat\n");
  const std::vector<uint8_t> mesh = TriangleMesh();
  WriteTestFile(folder + u"empty.3dd", std::string(mesh.begin(), mesh.end()));
  WriteTestFile(folder + u"gone.3dd", std::string(mesh.begin(), mesh.end()));
  WriteTestFile(folder + u"bad.obj", "mtllib m.mtl\nv 0 0 0\nvt 0 0\ng g\nusemtl mat\nf 1/1 1/1\n");
  auto run = Run("3D本体 empty.obj\n3D窓 gone.obj\n3D車内 bad.obj\n");
  EXPECT_EQ(run->result, 0x80004005u);
  const std::string log = run->LogText();
  EXPECT_NE(log.find(" OBJ convert error\r\n [" + Path("empty.obj") + "]\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" OBJ load\r\n [" + Path("gone.obj") + "]\r\nERROR : no obj file ["), std::string::npos)
      << log;
  EXPECT_NE(log.find(" OBJ load\r\n [" + Path("bad.obj") + "]\r\nERROR : 2-point polygon\r\n"),
            std::string::npos)
      << log;
  EXPECT_TRUE(RecordsBeforeTextureBlock(run->Stream()).empty());
  EXPECT_EQ(run->compiler->preview.window, nullptr);
}

TEST_F(ModelChecks, OtherExtensionsTakeAConvertedMeshFile) {
  // A mesh file given directly, or the mesh file of a name with another
  // extension, is embedded when it is sound.
  const std::vector<uint8_t> mesh = TriangleMesh(2.0f);
  WriteTestFile(folder + u"pre.3dd", std::string(mesh.begin(), mesh.end()));
  std::vector<uint8_t> broken = mesh;
  broken[0] = 99;  // not format 100
  WriteTestFile(folder + u"broken.3dd", std::string(broken.begin(), broken.end()));
  std::vector<uint8_t> bad_index = mesh;
  bad_index[bad_index.size() - 2] = 3;  // index 3 of three vertices
  WriteTestFile(folder + u"index.3dd", std::string(bad_index.begin(), bad_index.end()));
  auto run = Run("3D窓 pre.3dd\n3D車内 pre.x\n");
  ASSERT_EQ(run->result, 0u) << run->LogText();
  const std::vector<TestRecord> records = RecordsBeforeTextureBlock(run->Stream());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].data, Bytes().U32(118).Raw(mesh).data);
  EXPECT_EQ(records[1].data, records[0].data);
  ASSERT_NE(run->compiler->preview.window, nullptr);
  EXPECT_EQ(run->compiler->preview.window->vertex_count, 3u);
  // Anything else is a model without its one texture.
  run = Run("3D窓 broken.3dd\n3D窓 index.3dd\n3D窓 missing.3dd\n3D窓 m.png\n");
  EXPECT_EQ(run->result, 0x80004005u);
  for (const char* name : {"broken.3dd", "index.3dd", "missing.3dd", "m.png"})
    EXPECT_EQ(CountOf(run->LogText(), "エラー：複数テクスチャーを参照 [" + Path(name) + "]\r\n"), 1u) << name;
  EXPECT_TRUE(RecordsBeforeTextureBlock(run->Stream()).empty());
}

TEST_F(ModelChecks, ModelNamesJoinTheScriptFolderUnlessAbsolute) {
  std::u16string other = MakeTempFolder();
  WriteTriangleModel(other, "far");
  auto run = Run("3D窓 \"" + U8(other) + "far.obj\"\n3D車内 m.obj\n");
  EXPECT_EQ(run->result, 0u) << run->LogText();
  EXPECT_EQ(RecordsBeforeTextureBlock(run->Stream()).size(), 2u);
  EXPECT_EQ(run->compiler->preview.window->source, other + u"far.3dd");
  EXPECT_EQ(run->compiler->preview.interior->source, folder + u"m.3dd");
}

TEST_F(ModelChecks, MeshFileThatCannotBeReadBackIsAnError) {
  VehicleCompiler c;
  LogBuffer log;
  c.log = &log;
  std::vector<uint8_t> mesh;
  EXPECT_FALSE(ReadMeshForEmbedding(c, folder + u"nothing.obj", mesh));
  EXPECT_EQ(U8(log.text), "メッシュファイルが読み込めない [" + Path("nothing.3dd") + "]\r\n");
  EXPECT_EQ(c.error_mark, 1);
  WriteTestFile(folder + u"short.3dd", std::string("\x64\0\0\0", 4));
  EXPECT_FALSE(ReadMeshForEmbedding(c, folder + u"short.obj", mesh));
  EXPECT_TRUE(mesh.empty());
}

TEST_F(ModelChecks, ContainerModelNeedsItsSecondFile) {
  auto run = Run("3Dコンテナ 1 名前 missing.bin m.obj\n");
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_NE(run->LogText().find("コンテナファイルが読み込めない [" + Path("missing.bin") + "]\r\n"),
            std::string::npos);
  EXPECT_EQ(Count(SplitRecords(run->Stream()), 0x1350), 0u);
  EXPECT_EQ(run->compiler->preview.container_mesh_count, 0u);
}

}  // namespace
