#include <gtest/gtest.h>

#include <string>

#include "modelio/obj_model.h"
#include "tests/test_project_helpers.h"
#include "tests/test_util.h"

namespace {

using testing_project::PngBytes;
using testing_project::TempFolder;

// Materials of one library share an image that lies beside the library, not
// in the working folder: the first candidate (the name as written) fails
// each time, and every material still gets the image's page.
TEST(MtlTextureLookup, ImageBesideTheLibraryServesEveryMaterial) {
  TempFolder models;
  TempFolder elsewhere;
  models.Write(u"page.png", PngBytes(64, 32, 8, 2));
  models.WriteText(u"lib.mtl", "newmtl a\nmap_Kd page.png\nnewmtl b\nmap_Kd page.png\nnewmtl c\nmap_Kd page.png\n");
  ScopedCurrentFolder cwd(elsewhere.path());
  ObjModelPtr model = NewObjModel();
  ASSERT_TRUE(model);
  std::u16string messages;
  model->message_text = &messages;
  model->message_capacity = 4096;
  ASSERT_EQ(ReadMtlFile(*model, models / u"lib.mtl"), kObjResultOk);
  ASSERT_EQ(model->material_count, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(model->materials[i].width, 64.0f) << i;
    EXPECT_EQ(model->materials[i].height, 32.0f) << i;
  }
  EXPECT_EQ(model->warning_count, 0) << U8(messages);
}

}  // namespace
