// The rules that let the reader take files as current modelers write them:
// object lines as groups, polygons as fans, names with blanks, texture map
// options, and one texture per material; each beside the older reading it
// must leave alone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "compiler/data_file.h"
#include "modelio/obj_model.h"
#include "tests/test_obj_util.h"
#include "tests/test_util.h"

namespace {

const char kTriangle[] = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n";

struct TexturedFolder : ObjFolder {
  TexturedFolder() {
    File("m.mtl", "newmtl mat\nmap_Kd t.png\n");
    File("t.png", PngBytes(256, 256));
  }
  ObjResult ReadText(const std::string& text) {
    File("m.obj", "mtllib m.mtl\n" + text);
    return Read();
  }
};

TEST(ObjObjects, ObjectLinesStartGroupsOnlyWhenNoGroupComesFirst) {
  TexturedFolder f;
  ASSERT_EQ(f.ReadText(std::string(kTriangle) +
                       "o Old\no  Front Bogie  \r\nv 5 5 5\nusemtl mat\nf 1/1 2/2 3/3\n"
                       "o Rear\nf 1/1 2/2 3/3\ng side\nf 1/1 2/2 3/3\no Last\nf 1/1 2/2 3/3\n"),
            ObjResult::kOk)
      << f.Messages();
  ObjModel& m = *f.model;
  ASSERT_EQ(m.group_count, 4);
  // The last object line before the usemtl line names the first group, which
  // begins where that line stood.
  EXPECT_STREQ(m.groups[0].name, "Front Bogie");
  EXPECT_EQ(m.groups[0].first_position, 3);
  EXPECT_EQ(m.groups[0].material, 0);
  EXPECT_STREQ(m.groups[1].name, "Rear");
  EXPECT_STREQ(m.groups[2].name, "side");
  EXPECT_STREQ(m.groups[3].name, "Last");
  EXPECT_EQ(m.groups[3].first_position, 4);
  for (int face = 0; face < 4; ++face) EXPECT_EQ(m.corners[face * 3].group, face);
  EXPECT_EQ(f.Messages(), "");

  // A group before the first usemtl line: object lines change nothing.
  for (const char* order : {"o A\ng grp\nusemtl mat\no B\nf 1/1 2/2 3/3\n", "g grp\no A\nusemtl mat\n"}) {
    SCOPED_TRACE(order);
    TexturedFolder g;
    ASSERT_EQ(g.ReadText(std::string(kTriangle) + order), ObjResult::kOk);
    ASSERT_EQ(g.model->group_count, 1);
    EXPECT_STREQ(g.model->groups[0].name, "grp");
  }

  // Faces before any usemtl line stay outside every group, as before.
  TexturedFolder h;
  ASSERT_EQ(h.ReadText(std::string(kTriangle) + "o A\nf 1/1 2/2 3/3\n"), ObjResult::kOk);
  EXPECT_EQ(h.model->group_count, 0);
  EXPECT_EQ(h.model->corners[0].group, -1);
}

TEST(ObjObjects, UnnamedObjectsDrawNothingFromTheSeedGenerator) {
  ResetProcessRandom();
  TexturedFolder f;
  ASSERT_EQ(f.ReadText(std::string(kTriangle) + "o\nusemtl mat\no\nf 1/1 2/2 3/3\n"), ObjResult::kOk);
  ASSERT_EQ(f.model->group_count, 2);
  EXPECT_STREQ(f.model->groups[0].name, "");
  EXPECT_STREQ(f.model->groups[1].name, "");
  EXPECT_EQ(NextProcessRandom(), 41u);  // still the first value of the process
  ResetProcessRandom();
}

TEST(ObjObjects, ObjectGroupsHonourTheGroupCapacity) {
  TexturedFolder f;
  std::string text = "o first\nusemtl mat\n";
  for (int i = 1; i < kObjMaxGroups; ++i) text += "o x\n";
  f.File("m.obj", "mtllib m.mtl\n" + text + "o one too many\nv 1 2 3\n");
  EXPECT_EQ(f.Read(), ObjResult::kStopped);
  EXPECT_EQ(f.model->group_count, kObjMaxGroups);
  EXPECT_EQ(f.model->position_count, 0);
  EXPECT_EQ(f.Messages(), "ERROR : too many groups [max 8000] [line 8003]\r\n");
}

TEST(ObjPolygons, LargerPolygonsAreFansFromTheFirstCorner) {
  // A pentagon whose fourth and fifth corners leave the plane of the first
  // three, and a hexagon.
  const std::string body =
      "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0.5 2 1\nv -1 1 -1\nv 2 2 2\n"
      "vt 0 0\nvt 1 0\nvt 1 1\nvt 0.5 1\nvt 0 1\n"
      "g poly\nusemtl mat\n"
      "f 1/1 2/2 3/3 4/4 5/5\n"
      "f 1/1 2/2 3/3 6/4 4/5 5/1\n"
      "f 1/1 2/2 3/3\n";
  const uint16_t plain[] = {0,  1,  2, 0, 2, 3, 0, 3, 4,               // pentagon
                            5,  6,  7, 5, 7, 8, 5, 8, 9, 5, 9, 10,     // hexagon
                            11, 12, 13};                               // triangle
  const uint16_t mirrored[] = {0,  2,  1, 0, 3, 2, 0, 4, 3,            //
                               5,  7,  6, 5, 8, 7, 5, 9, 8, 5, 10, 9,  //
                               11, 13, 12};
  for (int mirror = 0; mirror < 2; ++mirror) {
    SCOPED_TRACE(mirror);
    TexturedFolder f;
    f.model->mirror_z = mirror;
    ASSERT_EQ(f.ReadText(body), ObjResult::kOk) << f.Messages();
    ObjModel& m = *f.model;
    EXPECT_EQ(f.Messages(), "WARNING : polygons of 5 or more points split into triangles [2]\r\n");
    EXPECT_EQ(m.warning_count, 1);
    ASSERT_EQ(m.corner_count, 14);
    ASSERT_EQ(m.index_count, 24);
    EXPECT_EQ(std::memcmp(m.indices, mirror ? mirrored : plain, sizeof plain), 0);
    EXPECT_EQ(m.face_count, 3);
    EXPECT_EQ(m.faces[1].corner_count, 6);
    EXPECT_EQ(m.faces[1].corners[3][0], 5);  // the record keeps the first four corners
    EXPECT_EQ(m.faces[1].corners[3][1], 3);
    EXPECT_EQ(m.corners[10].corner_number, 6);
    EXPECT_EQ(m.corners[10].face, 1);
    // Every corner of the pentagon has the normal of its first three, which
    // lie in z = 0: +Z, mirrored or not.
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(m.corners[i].face_normal[0], 0.0f);
      EXPECT_EQ(m.corners[i].face_normal[2], 1.0f);
    }
    EXPECT_EQ(m.corners[4].uv[1], 0.0f);  // vt 0 1 with V flipped
  }
}

TEST(ObjPolygons, OneLineHoldsUpTo255Corners) {
  // "f " and 255 corners "1/1" with single blanks: 1,021 bytes, and no
  // room for one more.
  std::string face = "f 1/1";
  for (int i = 1; i < 255; ++i) face += " 1/1";
  ASSERT_EQ(face.size() + 4, kObjMaxLineBytes + 3);
  TexturedFolder f;
  ASSERT_EQ(f.ReadText(std::string(kTriangle) + "g g\nusemtl mat\n" + face + "\n"), ObjResult::kOk)
      << f.Messages();
  EXPECT_EQ(f.model->corner_count, 255);
  EXPECT_EQ(f.model->index_count, 3 * 253);
  EXPECT_EQ(f.model->corners[254].corner_number, 255);
}

TEST(ObjNames, LibrariesWithBlanksAndLibrariesSideBySide) {
  // The whole rest of the line when such a file exists.
  ObjFolder f;
  f.File("my lib.mtl", "newmtl a\nmap_Kd t.png\n");
  f.File("t.png", PngBytes(64, 64));
  f.File("m.obj", "mtllib   my lib.mtl  \r\n");
  ASSERT_EQ(f.Read(), ObjResult::kOk);
  EXPECT_EQ(f.Messages(), "");
  EXPECT_EQ(f.model->material_count, 1);

  // Otherwise every word is a library, as before; a file of the whole name
  // takes precedence.
  ObjFolder g;
  g.File("a.mtl", "newmtl a\nmap_Kd t.png\n");
  g.File("b.mtl", "newmtl b\nmap_Kd t.png\n");
  g.File("t.png", PngBytes(64, 64));
  g.File("m.obj", "mtllib a.mtl b.mtl\n");
  ASSERT_EQ(g.Read(), ObjResult::kOk);
  EXPECT_EQ(g.model->material_count, 2);
  g.File("a.mtl b.mtl", "newmtl both\nmap_Kd t.png\n");
  ResetObjModel(*g.model);
  ASSERT_EQ(g.Read(), ObjResult::kOk);
  ASSERT_EQ(g.model->material_count, 1);
  EXPECT_STREQ(g.model->materials[0].name, "both");

  ObjFolder h;
  h.File("m.obj", "mtllib my lib.mtl\n");
  ASSERT_EQ(h.Read(), ObjResult::kOk);
  EXPECT_EQ(h.Messages(), "ERROR : no mtl file [" + U8(h.Path("my")) + "]\r\nERROR : no mtl file [" +
                              U8(h.Path("lib.mtl")) + "]\r\n");
}

TEST(ObjNames, MaterialNamesWithBlanksAndTheirFirstWords) {
  struct Case {
    const char* newmtl_names[2];
    const char* usemtl;
    int32_t expected;
  } cases[] = {
      {{"Body", "Body Paint"}, "Body Paint", 1},  // the whole name first
      {{"Body Paint", "Body"}, "Body", 1},
      {{"Body Paint", "Body"}, "Body Paint  ", 0},  // trailing blanks are no part of it
      {{"mat # note", "other"}, "mat", 0},          // older files: the first words match
      {{"other", "mat"}, "mat trailing words", 1},
      {{"a\tb", "a"}, "a\tb", 0},  // a tab inside a name is kept
      {{"x", "y"}, "z w", -1},     // nothing found: no material yet
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.usemtl);
    ObjFolder f;
    f.File("m.mtl", std::string("newmtl ") + c.newmtl_names[0] + "\r\nmap_Kd t.png\nnewmtl  " +
                        c.newmtl_names[1] + " \nmap_Kd t.png\n");
    f.File("t.png", PngBytes(64, 64));
    f.File("m.obj", std::string("mtllib m.mtl\ng g\nusemtl ") + c.usemtl + "\n");
    ASSERT_EQ(f.Read(), ObjResult::kOk) << f.Messages();
    EXPECT_STREQ(f.model->materials[1].name, c.newmtl_names[1]);
    EXPECT_EQ(f.model->current_material, c.expected);
  }

  // Names are cut at 63 bytes, blanks and all.
  ObjFolder g;
  const std::string long_name = "Long Name " + std::string(70, 'x');
  g.File("m.mtl", "newmtl " + long_name + "\nmap_Kd t.png\n");
  g.File("t.png", PngBytes(64, 64));
  g.File("m.obj", "mtllib m.mtl\n");
  ASSERT_EQ(g.Read(), ObjResult::kOk);
  EXPECT_EQ(std::string(g.model->materials[0].name), long_name.substr(0, 63));
}

struct MapCase {
  const char* line;   // after "map_Kd "
  const char* found;  // the texture file found, or null when none is
};

TEST(ObjTextureMaps, OptionsBeforeTheFileNameAreSkipped) {
  const MapCase cases[] = {
      {"-s 1 1 1 a.png", "a.png"},
      {"-o 0.5 a.png", "a.png"},
      {"-t 1 -2.5e-1 a.png", "a.png"},
      {"-s 1 2.png", "2.png"},  // a number with an extension is the file
      {"-bm 0.2 -mm 0 1 -imfchan r a.png", "a.png"},
      {"-clamp on -blendu off -blendv on -cc off -boost 2 -texres 512 -type sphere a.png", "a.png"},
      {"-s 1.0 1.0 1.0 my tex.png", "my tex.png"},
      {"my tex.png", "my tex.png"},
      {"a.png  note from an older tool", "a.png"},  // names that hold blanks fall back to the first word
  };
  for (const MapCase& c : cases) {
    SCOPED_TRACE(c.line);
    ObjFolder f;
    f.File("a.png", PngBytes(32, 16));
    f.File("2.png", PngBytes(32, 16));
    f.File("my tex.png", PngBytes(32, 16));
    f.File("m.mtl", std::string("newmtl a\nmap_Kd ") + c.line + "\n");
    f.File("m.obj", "mtllib m.mtl\n");
    ASSERT_EQ(f.Read(), ObjResult::kOk);
    EXPECT_EQ(f.Messages(), "");
    ASSERT_EQ(f.model->material_count, 1);
    EXPECT_EQ(std::u16string(f.model->materials[0].texture_path), f.Path(c.found));
    EXPECT_EQ(f.model->materials[0].width, 32.0f);
  }

  // Options alone name no file; an unknown option starts the name.
  ObjFolder g;
  g.File("m.mtl", "newmtl a\nmap_Kd -bm 1\nnewmtl b\nmap_Kd -zz a.png\n");
  g.File("m.obj", "mtllib m.mtl\n");
  ASSERT_EQ(g.Read(), ObjResult::kOk);
  EXPECT_EQ(g.model->material_count, 1);
  EXPECT_STREQ(g.model->materials[0].name, "b");
  EXPECT_EQ(g.Messages(), "ERROR : no png file [-zz a.png]\r\n");
}

TEST(ObjTextureMaps, OneTexturePerMaterial) {
  ObjFolder f;
  f.File("kd.png", PngBytes(256, 128));
  f.File("ka.png", PngBytes(64, 64));
  // The maps left out are never read: missing files draw no error, and a
  // bump map of another size leaves the page alone.
  f.File("bump.png", PngBytes(16, 16));
  f.File("one.mtl",
         "newmtl paint\nmap_Bump -bm 1 bump.png\nmap_Ks specular.png\nmap_kd kd.png\nmap_Kd second.png\n"
         "newmtl glass\nmap_Ka ka.png\nmap_Bump bump.png\n"
         "newmtl last\nmap_Kd kd.png\n");
  f.File("two.mtl", "newmtl metal\nmap_d alpha.png\nmap_Kd kd.png\n");
  f.File("m.obj", "mtllib one.mtl two.mtl\n");
  ASSERT_EQ(f.Read(), ObjResult::kOk);
  ObjModel& m = *f.model;
  ASSERT_EQ(m.material_count, 4);
  const char* names[] = {"paint", "glass", "last", "metal"};
  const char* files[] = {"kd.png", "ka.png", "kd.png", "kd.png"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_STREQ(m.materials[i].name, names[i]);
    EXPECT_EQ(std::u16string(m.materials[i].texture_path), f.Path(files[i]));
  }
  EXPECT_EQ(m.page_width, 256.0f);
  EXPECT_EQ(m.page_height, 128.0f);
  // One warning per library, naming the lines left out.
  EXPECT_EQ(f.Messages(),
            "WARNING : one texture per material: map lines ignored [map_Bump line 2, map_Ks line 3, map_Kd "
            "line 5, map_Bump line 8] [" +
                U8(f.Path("one.mtl")) +
                "]\r\nWARNING : one texture per material: map lines ignored [map_d line 2] [" +
                U8(f.Path("two.mtl")) + "]\r\n");
  EXPECT_EQ(m.warning_count, 2);
  EXPECT_EQ(m.error_count, 0);

  // Map lines before any newmtl are a material of their own; a long list
  // is cut after sixteen.
  ObjFolder g;
  g.File("kd.png", PngBytes(8, 8));
  std::string mtl = "map_Kd kd.png\n";
  for (int i = 0; i < 20; ++i) mtl += "map_Ks s.png\n";
  g.File("m.mtl", mtl);
  g.File("m.obj", "mtllib m.mtl\n");
  ASSERT_EQ(g.Read(), ObjResult::kOk);
  EXPECT_EQ(g.model->material_count, 1);
  EXPECT_NE(g.Messages().find("map_Ks line 17, ...] ["), std::string::npos) << g.Messages();
  EXPECT_EQ(g.Messages().find("line 18"), std::string::npos);
}

}  // namespace
