// What the compiler keeps for the preview: slots filled in script order,
// surplus models ignored, replaced meshes and textures released first, and
// everything released by the reset, in group order.
#include <gtest/gtest.h>

#include <algorithm>

#include "compiler/preview_objects.h"
#include "compiler/preview_recording.h"
#include "tests/test_model_commands_fixture.h"

namespace {

class PreviewSlots : public ::testing::Test {
 protected:
  std::u16string folder = MakeTempFolder();
  RecordingPreviewFactory factory;
  void SetUp() override {
    WriteTriangleModel(folder, "m");
    factory.tally().keep_events = true;
  }
  std::unique_ptr<CompileRun> Run(const std::string& utf8) {
    auto run = std::make_unique<CompileRun>();
    run->compiler->preview_factory = &factory;
    SetScriptPath(*run->compiler, folder + u"Test.txt");
    std::string text = Sjis(utf8);
    run->result = Compile(*run->compiler, text.data(), text.size(), run->log);
    return run;
  }
  std::string Events() {
    std::string joined;
    for (const std::string& e : factory.tally().events) joined += e + "; ";
    factory.tally().events.clear();
    return joined;
  }
};

TEST_F(PreviewSlots, BodyKeepsASphereMappedCopyAndReplacedMeshesGoFirst) {
  WriteTriangleModel(folder, "n");
  auto run = Run("TEC 2\n3D本体 m.obj\n");
  ASSERT_EQ(run->result, 0u) << run->LogText();
  const PreviewState& p = run->compiler->preview;
  ASSERT_EQ(p.body_count, 1u);
  const PreviewMesh& body = *p.bodies[0];
  EXPECT_EQ(body.vertex_format, 0x212u);
  EXPECT_TRUE(body.vertex_count == 3 && body.index_count == 3);
  EXPECT_TRUE(body.bounds_min[0] == 0 && body.bounds_max[0] == 2 && body.bounds_max[1] == 2 && body.bounds_max[2] == 0);
  // The converted body mesh was only the copy's source.
  EXPECT_EQ(Events(), "mesh m.3dd; mesh copy of m.3dd; release mesh m.3dd; ");
  auto replaced = Run("3D窓 m.obj\n3D窓 n.obj\n3D車輪 3 1 m.obj\n3D車輪 3 2 n.obj\n");
  EXPECT_EQ(Events(), "mesh m.3dd; release mesh m.3dd; mesh n.3dd; mesh m.3dd; release mesh m.3dd; mesh n.3dd; ");
  EXPECT_EQ(replaced->compiler->preview.window->source, folder + u"n.3dd");
  EXPECT_DOUBLE_EQ(replaced->compiler->preview.wheels[3].diameter, 2.0);
}

TEST_F(PreviewSlots, SurplusModelsAreWrittenButNotKept) {
  std::string script;
  for (int i = 0; i < 5; ++i) script += "3D本体 m.obj\n3D屋根 m.obj\n3Dヘッドマーク m.obj\n";
  for (int i = 0; i < 9; ++i) script += "3Dコンテナ " + std::to_string(i + 1) + " c m.mtl m.obj\n";
  script += "台車構造車輪 1 0 1 1\n台車構造枠 1 2\n";
  for (int i = 0; i < 9; ++i) script += "台車構造車輪 1 " + std::to_string(i % 8) + " " + std::to_string(i) + " 0\n";
  auto run = Run(script);
  const std::vector<TestRecord> records = SplitRecords(run->Stream());
  for (const auto& expected : {std::pair{0x1300u, 5}, {0x1302u, 5}, {0x1308u, 5}, {0x1350u, 9}, {0x1313u, 10}}) {
    const uint32_t tag = expected.first;
    EXPECT_EQ(std::count_if(records.begin(), records.end(), [&](const TestRecord& r) { return r.tag == tag; }),
              expected.second);
  }
  const PreviewState& p = run->compiler->preview;
  EXPECT_EQ(p.body_count + p.roof_count + p.head_mark_count, 12u);
  ASSERT_EQ(p.container_mesh_count, 8u);
  EXPECT_EQ(p.container_meshes[7].number, 8u);
  // The wheel added before the frame line was forgotten; nine after it keep eight.
  EXPECT_EQ(p.bogies[1].frame_index, 2);
  ASSERT_EQ(p.bogies[1].wheel_count, 8u);
  EXPECT_EQ(p.bogies[1].wheel_placements[7][0], 7.0f);
  // No preview mesh for a surplus model: 4 bodies (each a mesh and its copy),
  // 4 roofs, 4 head marks, 8 containers.
  EXPECT_EQ(factory.tally().meshes_made, 8 + 4 + 4 + 8);
  ResetCompiler(*run->compiler);
  EXPECT_EQ(factory.tally().LiveObjects(), 0);
}

TEST_F(PreviewSlots, ResetReleasesEverythingInGroupOrder) {
  WriteTestFile(folder + u"two.mtl", "newmtl a\nmap_Kd t.png\nnewmtl b\nmap_Kd u.png\n");
  WriteTestFile(folder + u"u.png", PngHeader(128, 64));
  WriteTestFile(folder + u"two.obj",
                "mtllib two.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\ng g\nusemtl a\nf 1/1 2/1 3/1\nusemtl b\n"
                "f 1/1 3/1 2/1\n");
  for (const char* name : {"a", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "n", "o", "p", "q", "r"})
    WriteTriangleModel(folder, name);
  auto run = Run("PNGTEXSIGN \"" + U8(folder) + "u.png\"\nPNGTEXMAIN \"" + U8(folder) +
                 "t.png\"\nContainerOBJMain r.obj\n3Dコンテナ 1 c m.mtl q.obj\n3D車輪 0 1 p.obj\n3D台車枠 0 o.obj\n"
                 "3D動輪 0 n.obj\n3DOPTION2 1 IRE l.obj\n3DOPTION 1 k.obj\n3D入換ライト j.obj\n"
                 "3Dテールライト 1 i.obj\n3Dヘッドライト 1 h.obj\n3Dパンタ f.obj g.obj\n3Dヘッドマーク e.obj\n"
                 "3D字幕LED d.obj\n3D窓 c.obj\n3D屋根 two.obj\n3D本体 a.obj\n");
  AttachGuideLines(*run->compiler);
  const PreviewState& p = run->compiler->preview;
  EXPECT_EQ(p.guide_lines->capacity_lines, 50u);
  ASSERT_NE(p.main_texture, nullptr);
  EXPECT_EQ(p.sign_texture->width, 128u);
  EXPECT_EQ(p.roof_count, 0u);  // two textures: rejected, mesh kept
  Events();
  ResetCompiler(*run->compiler);
  EXPECT_EQ(factory.tally().LiveObjects(), 0);
  std::string expected = "release mesh copy of a.3dd; release mesh two.3dd; ";
  for (const char* name : {"c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "n", "o", "p", "q"})
    expected += "release mesh " + std::string(name) + ".3dd; ";
  EXPECT_EQ(Events(), expected + "release texture 256x256; release texture 128x64; release mesh r.3dd; release lines; ");
  // The state is back to its constructed values.
  EXPECT_TRUE(!p.bodies[0] && !p.head_mark_count && p.bogies[0].frame_index == -1 && !p.guide_lines);
}

TEST_F(PreviewSlots, TexturesFollowTheirPngLines) {
  WriteTestFile(folder + u"wide.png", PngHeader(512, 256));
  WriteTestFile(folder + u"junk.png", "not a png at all, just text");
  const std::string dir = U8(folder);
  auto run = Run("PNGTEXMAIN \"" + dir + "t.png\"\nPNGTEXMAIN \"" + dir + "wide.png\"\nPNGTEXSIGN \"" + dir +
                 "junk.png\"\n");
  EXPECT_EQ(Events(), "texture 256x256; release texture 256x256; texture 512x256; ");
  const PreviewState& p = run->compiler->preview;
  ASSERT_NE(p.main_texture, nullptr);
  EXPECT_EQ(p.main_texture->source_bytes, PngHeader(512, 256).size());
  // A sign PNG that does not decode leaves no texture and no message of its own.
  EXPECT_EQ(p.sign_texture, nullptr);
  EXPECT_EQ(run->LogText().find("junk"), std::string::npos);
  // A missing file drops the old texture too.
  run = Run("PNGTEXMAIN \"" + dir + "wide.png\"\nPNGTEXMAIN missing.png\n");
  EXPECT_EQ(run->compiler->preview.main_texture, nullptr);
  EXPECT_EQ(run->compiler->main_png_name, u"missing.png");
}

TEST_F(PreviewSlots, UnloadableMeshLeavesAnEmptyPreviewMesh) {
  const uint8_t truncated[8] = {};
  auto mesh = factory.LoadMeshBytes(truncated, sizeof truncated, folder + u"nothing.3dd");
  ASSERT_NE(mesh, nullptr);
  EXPECT_FALSE(mesh->loaded);
  EXPECT_EQ(mesh->vertex_count, 0u);
  mesh.reset();
  EXPECT_TRUE(factory.tally().meshes_made == 1 && factory.tally().meshes_released == 1);
}

}  // namespace
