// The OBJ reader: lines, tokens, faces, corners, and each message with its
// smallest trigger.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "compiler/data_file.h"
#include "modelio/obj_model.h"
#include "tests/test_obj_util.h"
#include "tests/test_util.h"

namespace {

// One 256 x 256 material "mat" and a unit quad in the XY plane.
const char kMtl[] = "newmtl mat\nmap_Kd tex.png\n";
const char kQuadHead[] =
    "mtllib m.mtl\n"
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\n"
    "g body\nusemtl mat\n";

struct QuadFolder : ObjFolder {
  QuadFolder() {
    File("m.mtl", kMtl);
    File("tex.png", PngBytes(256, 256));
  }
  ObjResult ReadBody(const std::string& body) {
    File("m.obj", std::string(kQuadHead) + body);
    return Read();
  }
};

TEST(ObjReader, ResetGivesTheInitialState) {
  ObjModelPtr model = NewObjModel();
  ASSERT_TRUE(model);
  model->page_width = 1;
  model->current_material = 3;
  model->flip_v = 0;
  model->mirror_z = 1;
  model->position_count = 7;
  model->error_count = 2;
  ResetObjModel(*model);
  EXPECT_EQ(model->page_width, 256.0f);
  EXPECT_EQ(model->page_height, 256.0f);
  EXPECT_EQ(model->current_material, -1);
  EXPECT_EQ(model->flip_v, 1);
  EXPECT_EQ(model->flip_u, 0);
  EXPECT_EQ(model->mirror_z, 0);
  EXPECT_EQ(model->invert_face_normals, 0);
  EXPECT_EQ(model->position_count, 0);
  EXPECT_EQ(model->error_count, 0);
}

TEST(ObjReader, QuadAndTriangleBecomeCornersAndIndices) {
  QuadFolder f;
  ASSERT_EQ(f.ReadBody("f 1/1 2/2 3/3 4/4\nf 1/1 2/2 3/3\n"), ObjResult::kOk) << f.Messages();
  ObjModel& m = *f.model;
  EXPECT_EQ(f.Messages(), "");
  EXPECT_EQ(m.position_count, 4);
  EXPECT_EQ(m.tex_coord_count, 4);
  EXPECT_EQ(m.normal_count, 1);
  EXPECT_EQ(m.face_count, 2);
  EXPECT_EQ(m.corner_count, 7);
  ASSERT_EQ(m.index_count, 9);
  const uint16_t expected[] = {0, 1, 2, 2, 3, 0, 4, 5, 6};
  EXPECT_EQ(std::memcmp(m.indices, expected, sizeof expected), 0);
  EXPECT_EQ(m.faces[0].corner_count, 4);
  EXPECT_EQ(m.faces[0].corners[3][0], 3);
  EXPECT_EQ(m.faces[0].corners[3][1], 3);
  EXPECT_EQ(m.corners[6].face, 1);
  EXPECT_EQ(m.corners[6].corner_number, 3);
  EXPECT_EQ(m.corners[6].group, 0);
  EXPECT_EQ(m.corners[2].position[0], 1.0f);
  EXPECT_EQ(m.corners[2].position[1], 1.0f);
  // (p0 - p1) x (p0 - p2) of the counter-clockwise quad points along +Z.
  EXPECT_EQ(m.corners[0].face_normal[2], 1.0f);
  EXPECT_EQ(m.corners[0].flags, kCornerNoNormal);
  // 256 x 256 material on a 256 x 256 page, V flipped.
  EXPECT_EQ(m.corners[2].uv[0], 1.0f);
  EXPECT_EQ(m.corners[2].uv[1], 0.0f);
  EXPECT_EQ(m.corners[3].uv[1], 0.0f);
  EXPECT_EQ(m.corners[0].uv[1], 1.0f);
  EXPECT_EQ(m.groups[0].material, 0);
  EXPECT_STREQ(m.groups[0].name, "body");
}

TEST(ObjReader, MirrorZNegatesZAndReversesTheWinding) {
  QuadFolder f;
  f.model->mirror_z = 1;
  f.File("m.obj", std::string(kQuadHead) + "v 0 0 5\nvn 0 0 1\nf 1/1 2/2 3/3 4/4\nf 1/1 2/2 5/3\n");
  // Read without resetting, so the option stays.
  ASSERT_EQ(ReadObjFile(*f.model, f.Path("m.obj")), ObjResult::kOk);
  ObjModel& m = *f.model;
  EXPECT_EQ(m.positions[4][2], -5.0f);
  EXPECT_EQ(m.normals[0][2], -1.0f);
  const uint16_t expected[] = {0, 2, 1, 2, 0, 3, 4, 6, 5};
  ASSERT_EQ(m.index_count, 9);
  EXPECT_EQ(std::memcmp(m.indices, expected, sizeof expected), 0);
}

TEST(ObjReader, SmoothingDecidesWhichNormalACornerKeeps) {
  QuadFolder f;
  // Face normal +Z; the file's normal 0 0 1 and a tilted one 3 4 0.
  ASSERT_EQ(f.ReadBody("vn 3 4 0\n"
                       "f 1/1/2 2/2 3/3/2\n"  // smoothing off at the start of a read
                       "s 1\nf 1/1/2 2/2 3/3/2\n"
                       "s off\nf 1/1/2 2/2 3/3/2\n"
                       "s\nf 1/1/2 2/2 3/3/2\n"
                       "s 2\nf 1/1/2 2/2 3/3/2\n"
                       "s 0\nf 1/1/2 2/2 3/3/2\n"
                       "s on\nf 1/1/2 2/2 3/3/2\n"),
            ObjResult::kOk);
  ObjModel& m = *f.model;
  const bool smooth[] = {false, true, false, false, true, false, true};
  for (int face = 0; face < 7; ++face) {
    const ObjCorner& given = m.corners[face * 3];
    const ObjCorner& bare = m.corners[face * 3 + 1];
    SCOPED_TRACE(face);
    EXPECT_EQ(given.flags, smooth[face] ? kCornerSmoothing : 0u);
    EXPECT_EQ(bare.flags, (smooth[face] ? kCornerSmoothing : 0u) | kCornerNoNormal);
    EXPECT_EQ(given.normal[0], smooth[face] ? 0.6f : 0.0f);
    EXPECT_EQ(given.normal[1], smooth[face] ? 0.8f : 0.0f);
    EXPECT_EQ(bare.normal[2], 1.0f);  // a corner without a normal always takes the face's
  }
}

TEST(ObjReader, InvertFaceNormalsAndDegenerateNormals) {
  QuadFolder f;
  f.File("m.obj", std::string(kQuadHead) +
                      "vn 0 0 0\n"
                      "s 1\nf 1/1/2 2/2/2 3/3/2\n"  // a zero normal: the face normal instead
                      "f 1/1 1/1 1/1\n");           // collinear corners: a fixed unit normal
  f.model->invert_face_normals = 1;
  ASSERT_EQ(ReadObjFile(*f.model, f.Path("m.obj")), ObjResult::kOk);
  ObjModel& m = *f.model;
  EXPECT_EQ(m.normals[1][0], 0.0f);
  EXPECT_EQ(m.corners[0].face_normal[2], -1.0f);
  EXPECT_EQ(m.corners[0].normal[2], -1.0f);
  for (int i = 3; i < 6; ++i) {
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(std::isnan(m.corners[i].face_normal[k]));
    EXPECT_EQ(m.corners[i].face_normal[1], -1.0f);
  }
}

TEST(ObjReader, FaceErrorsStopTheReadAndKeepEarlierFaces) {
  // The error line, and a line that tells the author what to change.
  const char* kNoUv =
      "ERROR : no uv polygon\r\n"
      " [line 14] a face corner has no texture coordinate (v//vn or v): the model needs a UV map, exported "
      "with its texture coordinates\r\n";
  struct Case {
    const char* body;
    const char* message;
  } cases[] = {
      {"f\n", "ERROR : 1-point polygon\r\n"},
      {"f 1/1\n", "ERROR : 1-point polygon\r\n"},
      {"f 1/1 2/2\n", "ERROR : 2-point polygon\r\n"},
      {"f 1//1 2//1 3//1\n", kNoUv},
      {"f 1/1 2/2 3//1\n", kNoUv},
      {"f 1 2 3\n", kNoUv},
      {"f 1// 2/2 3/3\n", kNoUv},
      {"f 1/1 2/2 3/3 4/4 1/1 2\n", kNoUv},  // in a polygon of six corners too
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    QuadFolder f;
    EXPECT_EQ(f.ReadBody(std::string("f 1/1 2/2 3/3\n") + c.body + "f 1/1 2/2 3/3\n"), ObjResult::kStopped);
    EXPECT_EQ(f.Messages(), c.message);
    EXPECT_EQ(f.model->error_count, 1);
    EXPECT_EQ(f.model->face_error_count, 1);
    EXPECT_EQ(f.model->face_count, 1);
    EXPECT_EQ(f.model->corner_count, 3);
  }
}

TEST(ObjReader, UsemtlBeforeAnyGroupStops) {
  QuadFolder f;
  f.File("m.obj", "mtllib m.mtl\nv 0 0 0\nvt 0 0\nusemtl mat\nf 1/1 1/1 1/1\n");
  EXPECT_EQ(f.Read(), ObjResult::kStopped);
  EXPECT_EQ(f.Messages(), "ERROR : no group\r\n");
  EXPECT_EQ(f.model->face_count, 0);
}

TEST(ObjReader, MissingFilesAndUnknownMaterials) {
  ObjFolder f;
  EXPECT_EQ(f.Read("none.obj"), ObjResult::kNoObjFile);
  EXPECT_EQ(f.Messages(), "ERROR : no obj file [" + U8(f.Path("none.obj")) + "]\r\n");
  EXPECT_EQ(f.model->error_count, 1);

  ObjFolder g;
  EXPECT_EQ(ReadMtlFile(*g.model, g.Path("none.mtl")), ObjResult::kNoMtlFile);
  EXPECT_EQ(g.Messages(), "ERROR : no mtl file [" + U8(g.Path("none.mtl")) + "]\r\n");

  // A missing library is reported but the OBJ is read on; a usemtl line
  // naming nothing known leaves the current material as it was.
  ObjFolder h;
  h.File("x.mtl", "newmtl plain\nKd 1 1 1\nnewmtl tex\nmap_Kd t.png\n");
  h.File("t.png", PngBytes(64, 32));
  h.File("m.obj",
         "mtllib none.mtl x.mtl\nv 0 0 0\nvt 0.5 0.5\ng a\nusemtl tex\nusemtl plain\nusemtl\n"
         "f 1/1 1/1 1/1\n");
  EXPECT_EQ(h.Read(), ObjResult::kOk);
  EXPECT_EQ(h.Messages(), "ERROR : no mtl file [" + U8(h.Path("none.mtl")) + "]\r\n");
  ASSERT_EQ(h.model->material_count, 1);
  EXPECT_STREQ(h.model->materials[0].name, "tex");
  EXPECT_EQ(h.model->current_material, 0);
  EXPECT_EQ(h.model->page_width, 64.0f);
  EXPECT_EQ(h.model->page_height, 32.0f);
  EXPECT_EQ(h.model->corners[0].uv[0], 0.5f);
}

TEST(ObjReader, UnusableTexturePageIsRefusedBeforeReading) {
  for (float side : {0.0f, -256.0f, NAN}) {
    ObjFolder f;
    f.File("m.obj", "v 0 0 0\n");
    f.model->page_height = side;
    EXPECT_EQ(ReadObjFile(*f.model, f.Path("m.obj")), ObjResult::kPageUnusable);
    EXPECT_EQ(f.model->error_count, 1);
    EXPECT_EQ(f.model->position_count, 0);
    EXPECT_NE(f.Messages().find("ERROR : texture page error [256 x"), std::string::npos) << f.Messages();
  }
}

TEST(ObjReader, IndicesOutsideTheArraysAndMalformedCorners) {
  const char* bad[] = {
      "f 1/1 2/2 5/3\n",        // position 5 of 4
      "f 1/1 2/2 3/9\n",        // texture coordinate 9 of 4
      "f 1/1/1 2/2/1 3/3/2\n",  // normal 2 of 1
      "f 0/1 2/2 3/3\n",        // 0 is no index
      "f -5/1 2/2 3/3\n",       // counted back past the first
      "f 1/ 2/2 3/3\n",         // missing numbers
      "f /1 2/2 3/3\n",        "f 1/2/ 2/2 3/3\n",
      "f 1/1/1/1 2/2 3/3\n",  // three slashes
      "f 1x/1 2/2 3/3\n",      "f 99999999999/1 2/2 3/3\n",
  };
  for (const char* body : bad) {
    SCOPED_TRACE(body);
    QuadFolder f;
    EXPECT_EQ(f.ReadBody(body), ObjResult::kStopped);
    EXPECT_EQ(f.Messages().rfind("ERROR : index error [", 0), 0u) << f.Messages();
    EXPECT_NE(f.Messages().find("[line 13]\r\n"), std::string::npos) << f.Messages();
    EXPECT_EQ(f.model->corner_count, 0);
    EXPECT_EQ(f.model->face_count, 0);
  }
}

TEST(ObjReader, NegativeIndicesCountBackFromWhatWasRead) {
  QuadFolder f;
  ASSERT_EQ(f.ReadBody("f -4/-4 -3/-3/-1 -2/-2 -1/-1\nf +1/1 2/2x 3/3/1x\n"), ObjResult::kOk) << f.Messages();
  const ObjFace& face = f.model->faces[0];
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(face.corners[i][0], i);
    EXPECT_EQ(face.corners[i][1], i);
  }
  EXPECT_EQ(face.corners[1][2], 0);
  EXPECT_EQ(f.model->corners[1].flags & kCornerNoNormal, 0u);
  EXPECT_EQ(f.model->faces[1].corners[1][1], 1);  // "2/2x" reads as sscanf reads it
}

TEST(ObjReader, TokensSeparatorsAndLineEnds) {
  ObjFolder f;
  std::string text =
      "v 1,2,3\n"  // commas separate
      "v\t4\x1E"
      "5\r6\n"  // tab, 0x1E and a lone CR too
      "  v 7 8 9 # note\n"
      "v 1.5e1 -.5 +2\n"
      "v 1 2\n"                               // a missing number reads as 0
      "v 1 \x01 2\n"                          // a control byte is an empty token of its own
      "v 10 11 12\x1A";                       // 0x1A is no end of file; no line end at the end
  text += std::string("\0v 13 14 15\n", 12);  // NUL ends a line as LF does
  text += "#v 0 0 0\n v 0.1 1e400 nan\n";     // a line that starts with a blank
  f.File("m.obj", text);
  ASSERT_EQ(f.Read(), ObjResult::kOk);
  ObjModel& m = *f.model;
  ASSERT_EQ(m.position_count, 9);
  const float expected[8][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9},    {15, -0.5f, 2},
                                {1, 2, 0}, {1, 0, 2}, {10, 11, 12}, {13, 14, 15}};
  for (int i = 0; i < 8; ++i)
    for (int k = 0; k < 3; ++k) EXPECT_EQ(m.positions[i][k], expected[i][k]) << i << "," << k;
  EXPECT_EQ(m.positions[8][0], 0.1f);
  EXPECT_TRUE(std::isinf(m.positions[8][1]));
  EXPECT_TRUE(std::isnan(m.positions[8][2]));
}

TEST(ObjReader, CrLfAndLfReadAlike) {
  const std::string lf = std::string(kQuadHead) + "s 1\nvn 0 1 0\nf 1/1/2 2/2/2 3/3/2 4/4/2\n";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  QuadFolder a, b;
  a.File("m.obj", lf);
  b.File("m.obj", crlf);
  b.File("m.mtl", "newmtl mat\r\nmap_Kd tex.png\r\n");
  ASSERT_EQ(a.Read(), ObjResult::kOk);
  ASSERT_EQ(b.Read(), ObjResult::kOk);
  EXPECT_EQ(b.Messages(), "");
  ASSERT_EQ(a.model->corner_count, 4);
  ASSERT_EQ(b.model->corner_count, 4);
  EXPECT_EQ(std::memcmp(a.model->corners, b.model->corners, 4 * sizeof(ObjCorner)), 0);
  EXPECT_STREQ(b.model->groups[0].name, "body");
  EXPECT_STREQ(b.model->materials[0].name, "mat");
}

TEST(ObjReader, LongLinesAreCutAfter1022Bytes) {
  // Exactly 1,022 bytes before CR LF: read whole.
  std::string exact = "v 1 2 3";
  exact.resize(1020, ' ');
  exact += "45\r\n";
  // 1,024 bytes: "37" straddles the cut, so z reads as 3 and the rest is
  // skipped, not read as a line of its own.
  std::string cut = "v 1 2";
  cut.resize(1021, ' ');
  cut += "37\n";
  std::string comment = "#";
  comment.resize(1022, 'x');
  comment += "v 9 9 9\n";
  ObjFolder f;
  f.File("m.obj", exact + cut + comment + "v 4 5 6\n");
  ASSERT_EQ(f.Read(), ObjResult::kOk);
  ObjModel& m = *f.model;
  ASSERT_EQ(m.position_count, 3) << f.Messages();
  EXPECT_EQ(m.positions[0][2], 3.0f);
  EXPECT_EQ(m.positions[1][2], 3.0f);
  EXPECT_EQ(m.positions[2][0], 4.0f);
  const std::string path = U8(f.Path("m.obj"));
  EXPECT_EQ(f.Messages(), "WARNING : long line cut [line 2] [" + path +
                              "]\r\nWARNING : long line cut [line 3] [" + path + "]\r\n");
  EXPECT_EQ(m.warning_count, 2);
  EXPECT_EQ(m.error_count, 0);
}

TEST(ObjReader, KeywordsAreWholeWords) {
  ObjFolder f;
  f.File("a.mtl", "newmtl one\nmap_Kd t.png\n");
  f.File("b.mtl", "newmtl two\nmap_Kd t.png\nnewmtlx three\nmapKd t.png\n");
  f.File("t.png", PngBytes(128, 128));
  f.File("m.obj",
         "maplib a.mtl\nmtllib a.mtl b.mtl\n"
         "v 1 1 1\nvp 9 9 9\nvnx 1 0 0\nsp 1\nvt 0 0\nvtx 1 1\n"
         "g grp\nusemap two\nusemtl two\nfo 1/1 1/1\n");
  ASSERT_EQ(f.Read(), ObjResult::kOk) << f.Messages();
  ObjModel& m = *f.model;
  EXPECT_EQ(m.position_count, 1);
  EXPECT_EQ(m.normal_count, 0);
  EXPECT_EQ(m.tex_coord_count, 1);
  EXPECT_EQ(m.smoothing_on, 0);
  EXPECT_EQ(m.face_count, 0);
  ASSERT_EQ(m.material_count, 2);  // one from each library, none from "mapKd"
  EXPECT_STREQ(m.materials[0].name, "one");
  EXPECT_STREQ(m.materials[1].name, "two");
  EXPECT_EQ(m.current_material, 1);
}

TEST(ObjReader, ShiftJisNamesOfLibrariesMaterialsTexturesAndGroups) {
  ObjFolder f;
  // Half-width katakana (single bytes) and a 0x5C trail byte ("ソ").
  f.File("車両ｱ.mtl", Sjis("newmtl 金属ソ\nmap_Kd 車体.png\n"));
  f.File("車体.png", PngBytes(512, 256));
  f.File("m.obj", Sjis("mtllib 車両ｱ.mtl\nv 0 0 0\nvt 1 1\ng 屋根ソ\nusemtl 金属ソ\nf 1/1 1/1 1/1\n"));
  ASSERT_EQ(f.Read(), ObjResult::kOk) << f.Messages();
  ObjModel& m = *f.model;
  ASSERT_EQ(m.material_count, 1);
  EXPECT_EQ(std::string(m.materials[0].name), Sjis("金属ソ"));
  EXPECT_EQ(std::u16string(m.materials[0].texture_path), f.Path("車体.png"));
  EXPECT_EQ(std::string(m.groups[0].name), Sjis("屋根ソ"));
  EXPECT_EQ(m.current_material, 0);
  EXPECT_EQ(m.materials[0].width, 512.0f);
}

TEST(ObjReader, TextureCoordinatesMapIntoTheLastPage) {
  ObjFolder f;
  f.File("m.mtl", "newmtl small\nmap_Kd s.png\nnewmtl wide\nmap_Kd w.png\n");
  f.File("s.png", PngBytes(256, 256));
  f.File("w.png", PngBytes(512, 256));
  f.File("m.obj", "mtllib m.mtl\nv 0 0 0\nvt 1 0.25\ng a\nusemtl small\nf 1/1 1/1 1/1\n");
  f.model->flip_u = 1;
  f.model->flip_v = 0;
  ASSERT_EQ(ReadObjFile(*f.model, f.Path("m.obj")), ObjResult::kOk);
  // u' = (1 - 1) * 256 / 512 + 0 / 512; v' = 0.25 * 256 / 256 + 0 / 256.
  EXPECT_EQ(f.model->corners[0].uv[0], 0.0f);
  EXPECT_EQ(f.model->corners[0].uv[1], 0.25f);

  ObjFolder g;
  g.File("m.mtl", "newmtl small\nmap_Kd s.png\nnewmtl wide\nmap_Kd w.png\n");
  g.File("s.png", PngBytes(256, 256));
  g.File("w.png", PngBytes(512, 256));
  g.File("m.obj", "mtllib m.mtl\nv 0 0 0\nvt 1 0.25\ng a\nusemtl small\nf 1/1 1/1 1/1\n");
  ASSERT_EQ(g.Read(), ObjResult::kOk);
  EXPECT_EQ(g.model->corners[0].uv[0], 0.5f);
  EXPECT_EQ(g.model->corners[0].uv[1], 0.75f);
}

TEST(ObjReader, UnnamedGroupsDrawFromTheProcessGenerator) {
  ResetProcessRandom();
  QuadFolder f;
  ASSERT_EQ(f.ReadBody("g\ng\n"), ObjResult::kOk);
  ASSERT_EQ(f.model->group_count, 3);
  EXPECT_STREQ(f.model->groups[1].name, "DMYSET41");
  EXPECT_STREQ(f.model->groups[2].name, "DMYSET18467");
  EXPECT_EQ(f.model->groups[2].first_position, 4);
  ResetProcessRandom();
}

}  // namespace
