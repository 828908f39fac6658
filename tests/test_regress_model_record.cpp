// The compiler reads every model into one record it resets each time. A
// model read after a larger one must come out exactly as when read first:
// nothing of the earlier model (materials, groups, normals, smoothing,
// texture page) may leak into its mesh file.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"
#include "tests/test_util.h"

namespace {

// Two materials on a 512 x 256 page, two groups, quads with normals and
// smoothing on: every part of the record a later model could inherit.
const char kLargeObj[] =
    "mtllib large.mtl\n"
    "v 0 0 0\nv 4 0 0\nv 4 3 0\nv 0 3 0\nv 0 0 2\nv 4 0 2\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\n"
    "g front\nusemtl red\ns 1\nf 1/1/1 2/2/2 3/3/3 4/4/1\n"
    "g side\nusemtl blue\nf 1/1/2 5/2/2 6/3/2 2/4/2\nf 3/1/3 2/2/3 6/3/3\n";
const char kLargeMtl[] = "newmtl red\nmap_Kd large.png\nnewmtl blue\nmap_Kd large.png\n";

// One material on a 256 x 256 page, and a normal of its own that only
// smoothing would use: its smoothing is never set, so the flat face normal
// must stand.
const char kSmallObj[] =
    "mtllib small.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 1 0\ng g1\nusemtl s\n"
    "f 1/1/1 2/2/1 3/3/1\n";
const char kSmallMtl[] = "newmtl s\nmap_Kd small.png\n";

std::string CompileAndReadMesh(const std::string& script, const std::u16string& folder) {
  auto run = CompileScript(script, folder);
  EXPECT_EQ(run->result, 0u) << run->LogText();
  ResetCompiler(*run->compiler);
  return ReadTestFile(folder + u"small.3dd");
}

}  // namespace

TEST(RegressModelRecord, ASmallModelAfterALargeOneIsConvertedAsIfAlone) {
  const std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"large.obj", kLargeObj);
  WriteTestFile(folder + u"large.mtl", kLargeMtl);
  WriteTestFile(folder + u"large.png", PngHeader(512, 256));
  WriteTestFile(folder + u"small.obj", kSmallObj);
  WriteTestFile(folder + u"small.mtl", kSmallMtl);
  WriteTestFile(folder + u"small.png", PngHeader(256, 256));
  const std::string header = "BeginModel\n";
  const std::string small_only = header + "3D屋根 \"small.obj\"\nEndModel\n";
  const std::string large_first = header + "3D本体 \"large.obj\"\n3D屋根 \"small.obj\"\nEndModel\n";

  // A new thread has a record of its own that no model has touched yet.
  std::string alone;
  std::thread([&] { alone = CompileAndReadMesh(small_only, folder); }).join();
  ASSERT_FALSE(alone.empty());
  EXPECT_EQ(CompileAndReadMesh(large_first, folder), alone);
  // And once more the other way round, in this thread's used record.
  EXPECT_EQ(CompileAndReadMesh(small_only, folder), alone);
}
