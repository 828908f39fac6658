// Material libraries: where texture files are looked for, what their headers
// give, and every texture message.
#include <gtest/gtest.h>

#include "modelio/obj_model.h"
#include "platform/fs.h"
#include "platform/image_headers.h"
#include "tests/test_obj_util.h"
#include "tests/test_util.h"

namespace {

// A library with one material per map line, read through an OBJ that uses
// nothing else.
struct LibraryFolder : ObjFolder {
  ObjResult ReadLibrary(const std::string& mtl) {
    File("m.mtl", mtl);
    File("m.obj", "mtllib m.mtl\n");
    return Read();
  }
  const ObjMaterial& Material(int i) const { return model->materials[i]; }
};

void ExpectRectangle(const ObjMaterial& m, float left, float top, float width, float height) {
  EXPECT_EQ(m.left, left);
  EXPECT_EQ(m.top, top);
  EXPECT_EQ(m.width, width);
  EXPECT_EQ(m.height, height);
}

TEST(ObjTextures, PngAndBmpFillThePageAndSetItsSize) {
  LibraryFolder f;
  f.File("a.png", PngBytes(512, 128));
  f.File("b.bmp", BmpBytes(64, -32));  // top-down: the height counts by its magnitude
  f.File("tex.png", PngBytes(8, 8));
  ASSERT_EQ(f.ReadLibrary("newmtl a\nmap_Kd a.png\nnewmtl c\nmap_Kd Tex.PNG\nnewmtl b\nmap_Kd b.BMP\n"),
            ObjResult::kOk);
  EXPECT_EQ(f.Messages(), "");
  ASSERT_EQ(f.model->material_count, 3);
  // Names match files as Windows matches them, without regard to case.
  EXPECT_EQ(f.model->materials[1].width, 8.0f);
  f.model->materials[1] = f.model->materials[2];
  ExpectRectangle(f.Material(0), 0, 0, 512, 128);
  ExpectRectangle(f.Material(1), 0, 0, 64, 32);
  EXPECT_EQ(std::u16string(f.Material(1).texture_path), f.Path("b.bmp"));
  EXPECT_EQ(f.model->page_width, 64.0f);
  EXPECT_EQ(f.model->page_height, 32.0f);
}

TEST(ObjTextures, CandidatesInTheGivenFolderTheLibraryFolderAndTim) {
  ObjFolder f;
  for (const char* dir : {"models", "models/space dir", "TIM", "gv", "tex"}) FsCreateDirectory(f.Path(dir));
  f.File("models/m.obj", "mtllib m.mtl\n");
  f.File("models/m.mtl",
         "newmtl a\nmap_Kd gv/a.png\n"         // 1st: the folder as written, from the base folder
         "newmtl b\nmap_Kd b.png\n"            // 2nd: beside the library
         "newmtl c\nmap_Kd c.PNG\n"            // 3rd: the TIM folder beside the library's folder
         "newmtl d\nmap_Kd d.jpg\n"            // anything else is a TIM image
         "newmtl e\nmap_Kd space dir/e.png\n"  // last: the folders from the library's folder
         "newmtl g\nmap_Kd ..\\tex\\g.png\n"
         "newmtl h\nmap_Kd 車体.png\n"        // written in UTF-8, not Shift-JIS
         "newmtl i\nmap_Kd \xC2\xB1.png\n");  // a file under either reading: Shift-JIS first
  f.File("gv/a.png", PngBytes(16, 16));
  f.File("models/b.png", PngBytes(32, 32));
  f.File("TIM/c.png", PngBytes(8, 8));
  f.File("TIM/d.tim", TimBytes(3, 64, 128, 96, 32));
  f.File("models/space dir/e.png", PngBytes(4, 4));
  f.File("tex/g.png", PngBytes(4, 4));
  f.File("models/車体.png", PngBytes(8, 8));
  f.File("models/ﾂｱ.png", PngBytes(8, 8));
  f.File("models/±.png", PngBytes(16, 16));
  f.model->base_folder = &f.dir;
  ASSERT_EQ(f.Read("models/m.obj"), ObjResult::kOk);
  EXPECT_EQ(f.Messages(), "");  // relative folders are not absolute paths
  ASSERT_EQ(f.model->material_count, 8);
  const char* found[] = {"gv/a.png",        "models/b.png",           "TIM/c.png",
                         "TIM/d.tim",       "models/space dir/e.png", "models/..\\tex\\g.png",
                         "models/車体.png", "models/ﾂｱ.png"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(U8(f.model->materials[i].texture_path), U8(f.Path(found[i])));
  // A TIM is a rectangle at its frame-buffer place (width 96 units of
  // 16 bits = 64 pixels of 24 bits) and leaves the page alone.
  ExpectRectangle(f.model->materials[3], 64, 128, 64, 32);
  EXPECT_EQ(f.model->page_width, 8.0f);
}

TEST(ObjTextures, MaterialsSharingATextureBesideTheLibraryAllGetIt) {
  // Looked for in the base folder first, in vain each time: the texture
  // read for the first material must still serve the second.
  LibraryFolder f;
  const std::u16string elsewhere = MakeTempFolder();
  f.model->base_folder = &elsewhere;
  f.File("t.png", PngBytes(128, 64));
  ASSERT_EQ(f.ReadLibrary("newmtl a\nmap_Kd t.png\nnewmtl b\nmap_Kd t.png\n"), ObjResult::kOk);
  EXPECT_EQ(f.Messages(), "");
  ASSERT_EQ(f.model->material_count, 2);
  ExpectRectangle(f.Material(0), 0, 0, 128, 64);
  ExpectRectangle(f.Material(1), 0, 0, 128, 64);
  EXPECT_EQ(std::u16string(f.Material(1).texture_path), f.Path("t.png"));
}

TEST(ObjTextures, MissingTexturesAndAbsoluteFolders) {
  LibraryFolder f;
  ASSERT_EQ(f.ReadLibrary("map_Kd a.png\nnewmtl b\nmap_Kd b.bmp\nnewmtl c\nmap_Kd c.jpg\n"
                          "newmtl d\nmap_Kd C:\\tex\\d.png\nnewmtl e\nmap_Kd ab/e.png\nnewmtl f\nmap_Kd\n"),
            ObjResult::kOk);
  EXPECT_EQ(f.Messages(),
            "ERROR : no png file [a.png]\r\n"
            "ERROR : no bmp file [b.bmp]\r\n"
            "ERROR : no tim file [c.jpg]\r\n"
            "WARNING : 絶対パス指定 [C:\\tex\\d.png]\r\n"
            "ERROR : no png file [C:\\tex\\d.png]\r\n"
            "ERROR : no png file [ab/e.png]\r\n");
  EXPECT_EQ(f.model->error_count, 5);
  EXPECT_EQ(f.model->warning_count, 1);
  // Every map line with a name adds an entry, found or not, with an empty
  // rectangle and the last candidate tried.
  ASSERT_EQ(f.model->material_count, 5);
  ExpectRectangle(f.Material(0), 0, 0, 0, 0);
  std::u16string last = f.Material(2).texture_path;
  EXPECT_EQ(last.substr(last.size() - 9), u"TIM/c.tim");
  EXPECT_STREQ(f.Material(0).name, "");  // a map line before any newmtl names no material
  EXPECT_STREQ(f.Material(1).name, "b");
}

TEST(ObjTextures, BrokenHeadersAreReportedAndChangeNothing) {
  struct Case {
    const char* file;
    std::string bytes;
    const char* message;  // followed by " [file]\r\n"
  } cases[] = {
      {"a.png", PngBytes(256, 0), "ERROR : png size error [256 x 0]"},
      {"a.png", PngBytes(20000, 64), "ERROR : png size error [20000 x 64]"},
      {"a.png", PngBytes(64, 64).substr(0, 23), "WARNING : png header error"},
      {"a.png", "GIF89a" + std::string(40, '\0'), "WARNING : png header error"},
      {"a.bmp", BmpBytes(-5, 8), "ERROR : bmp size error [-5 x 8]"},
      {"a.bmp", BmpBytes(0, 8), "ERROR : bmp size error [0 x 8]"},
      {"a.bmp", BmpBytes(8, 8).substr(0, 53), "WARNING : bmp header error"},
      {"a.bmp", "XX" + BmpBytes(8, 8).substr(2), "WARNING : bmp header error"},
      {"a.tim", TimBytes(1, 0, 0, 96, 32), "ERROR : tim bit error [BIT 8]"},
      {"a.tim", TimBytes(2, 0, 0, 96, 32), "ERROR : tim bit error [BIT 0]"},
      {"a.tim", TimBytes(3, 3, 0, 96, 32), "ERROR : tim pos error [x 3]"},
      {"a.tim", TimBytes(3, 0, 0, 5, 32), "ERROR : tim size error [dx 3]"},
      {"a.tim", TimBytes(3, 0, 0, 96, 32).substr(0, 19), "ERROR : tim header error"},
      {"a.tim", TimBytes(3, 0, 0, 96, 32).substr(0, 7), "ERROR : tim header error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    LibraryFolder f;
    f.File(c.file, c.bytes);
    ASSERT_EQ(f.ReadLibrary(std::string("newmtl x\nmap_Kd ") + c.file + "\n"), ObjResult::kOk);
    EXPECT_EQ(f.Messages(), std::string(c.message) + " [" + U8(f.Path(c.file)) + "]\r\n");
    ASSERT_EQ(f.model->material_count, 1);
    ExpectRectangle(f.Material(0), 0, 0, 0, 0);
    EXPECT_EQ(f.model->page_width, 256.0f);
    EXPECT_EQ(f.model->page_height, 256.0f);
  }
}

TEST(ObjTextures, HeaderReadersStayWithinTheBytes) {
  std::string png = PngBytes(7, 9);
  auto u8 = [](const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); };
  EXPECT_EQ(ReadPngImageHeader(u8(png), 23, 100).status, ImageHeaderStatus::kNotRecognised);
  ImageHeader h = ReadPngImageHeader(u8(png), 24, 100);
  EXPECT_EQ(h.status, ImageHeaderStatus::kOk);
  EXPECT_EQ(h.width, 7);
  EXPECT_EQ(h.height, 9);
  std::string no_ihdr = png;
  no_ihdr[12] = 'X';
  EXPECT_EQ(ReadPngImageHeader(u8(no_ihdr), no_ihdr.size(), 100).status, ImageHeaderStatus::kNotRecognised);
  EXPECT_EQ(ReadPngImageHeader(nullptr, 0, 100).status, ImageHeaderStatus::kNotRecognised);
  std::string bmp = BmpBytes(3, int32_t(0x80000000u));
  EXPECT_EQ(ReadBmpImageHeader(u8(bmp), bmp.size(), 100).status, ImageHeaderStatus::kBadSize);
  std::string tim = TimBytes(3, 2, 4, 6, 8);
  EXPECT_EQ(ReadTimImageHeader(u8(tim), 19).status, ImageHeaderStatus::kNotRecognised);
  h = ReadTimImageHeader(u8(tim), 20);
  EXPECT_EQ(h.status, ImageHeaderStatus::kOk);
  EXPECT_EQ(h.width, 4);
  EXPECT_EQ(h.height, 8);
}

TEST(ObjTextures, MaterialCapacityStopsTheRead) {
  LibraryFolder f;
  f.File("t.png", PngBytes(16, 16));
  std::string mtl;
  for (int i = 0; i <= kObjMaxMaterials; ++i) mtl += "newmtl a\nmap_Kd t.png\n";
  f.File("m.mtl", mtl);
  f.File("m.obj", "mtllib m.mtl\nv 1 2 3\n");
  EXPECT_EQ(f.Read(), ObjResult::kStopped);
  EXPECT_EQ(f.model->material_count, kObjMaxMaterials);
  EXPECT_EQ(f.model->position_count, 0);
  EXPECT_EQ(f.Messages(),
            "ERROR : too many materials [max 8000] [line 16002] [" + U8(f.Path("m.mtl")) + "]\r\n");
}

}  // namespace

// Materials that take turns between two large images beside the library:
// each keeps its own image's size, though each image is looked for once.
TEST(ObjTextures, AlternatingTexturesKeepTheirOwnSizes) {
  LibraryFolder f;
  f.File("wide.png", PngBytes(1024, 256) + std::string(200000, 'x'));
  f.File("tall.png", PngBytes(64, 2048) + std::string(200000, 'y'));
  std::string mtl;
  for (int i = 0; i < 6; ++i)
    mtl += "newmtl m" + std::to_string(i) + "\nmap_Kd " + (i % 2 ? "tall.png" : "wide.png") + "\n";
  ASSERT_EQ(f.ReadLibrary(mtl), ObjResult::kOk);
  EXPECT_EQ(f.Messages(), "");
  ASSERT_EQ(f.model->material_count, 6);
  for (int i = 0; i < 6; ++i) {
    if (i % 2)
      ExpectRectangle(f.Material(i), 0, 0, 64, 2048);
    else
      ExpectRectangle(f.Material(i), 0, 0, 1024, 256);
  }
}
