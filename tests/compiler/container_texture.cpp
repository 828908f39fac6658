// ContainerModelEnd hands the container's texture back to the preview.
#include <gtest/gtest.h>

#include "compiler/commands.h"
#include "compiler/preview_recording.h"
#include "tests/test_model_commands_fixture.h"

TEST(ContainerPart, ModelEndReleasesTheContainerTexture) {
  RecordingPreviewFactory factory;
  VehicleCompiler c;
  LogBuffer log;
  c.log = &log;
  const std::string png = PngHeader(64, 64);
  c.preview.container_texture = factory.CreateTexture(reinterpret_cast<const uint8_t*>(png.data()), png.size());
  ASSERT_NE(c.preview.container_texture, nullptr);
  CmdContainerModelEnd(c, 0x8011FF);
  EXPECT_EQ(c.preview.container_texture, nullptr);
  EXPECT_EQ(factory.tally().LiveObjects(), 0);
  EXPECT_TRUE(c.stream.empty());
  EXPECT_TRUE(log.text.empty());
}
