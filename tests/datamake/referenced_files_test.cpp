// The files a make reads, which watch follows: the project's paths in its
// folder (not the current one), libraries beside their model, by the whole
// name and by each word, a UTF-8 name as such, and textures named after
// their map options, as written and beside the library.
#include <gtest/gtest.h>

#include <set>

#include "datamake/referenced_files.h"
#include "platform/fs.h"
#include "tests/test_util.h"

TEST(ReferencedFiles, ListsTheFilesAProjectIsMadeFromWhereTheyAreRead) {
  const std::u16string dir = MakeTempFolder();
  FsCreateDirectory(dir + u"models");
  WriteTestFile(dir + u"models/car.obj", "mtllib car body.mtl\nmtllib \xE8\xBB\x8A\xE4\xBD\x93.mtl\n");
  WriteTestFile(dir + u"models/car body.mtl", "newmtl a\nmap_Kd -s 1 1 1 img\\body paint.png\n");
  auto p = std::make_unique<VehicleProject>();
  p->folder = dir;
  p->modelA1.Set(u"models\\car.obj");
  p->maintex.Set(u"tex\\main.png");
  std::set<std::string> listed;
  for (std::u16string file : ReferencedFiles(*p, dir + u"car.xml")) {
    for (char16_t& c : file)
      if (c == u'\\') c = u'/';
    listed.insert(U8(file).substr(U8(dir).size()));
  }
  for (const char* expected : {"car.xml", "tex/main.png", "models/car.obj", "models/car body.mtl", "models/car",
                               "models/body.mtl", "models/\xE8\xBB\x8A\xE4\xBD\x93.mtl", "img/body paint.png",
                               "models/img/body paint.png", "models/body paint.png"})
    EXPECT_TRUE(listed.count(expected)) << expected;
}
