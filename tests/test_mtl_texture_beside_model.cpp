// A model in a subfolder whose materials share one texture beside it: every
// material finds that texture, not only the first.
#include <gtest/gtest.h>

#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"

namespace {

TEST(MtlTexture, SharedTextureBesideAModelInASubfolder) {
  const std::u16string folder = MakeTempFolder();
  ASSERT_TRUE(FsCreateDirectory(folder + u"sub"));
  WriteTestFile(folder + u"sub/m.obj",
                "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\ng g\nusemtl a\nf 1/1 2/1 3/1\n"
                "usemtl b\nf 1/1 3/1 2/1\n");
  WriteTestFile(folder + u"sub/m.mtl", "newmtl a\nmap_Kd t.png\nnewmtl b\nmap_Kd t.png\n");
  WriteTestFile(folder + u"sub/t.png", PngHeader(256, 256));
  ScopedCurrentFolder here(folder);  // the texture is not in the working folder
  auto run = CompileScript("3D本体 sub/m.obj\n", folder);
  EXPECT_EQ(run->result, 0u) << run->LogText();
  EXPECT_EQ(run->LogText().find("header error"), std::string::npos) << run->LogText();
}

}  // namespace
