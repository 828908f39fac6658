// The whole-vehicle commands against a stream worked out by hand from the
// record tables (tests/golden_records.py writes both files).
#include <gtest/gtest.h>

#include "tests/test_util.h"

namespace {

std::vector<uint8_t> FromHexLines(const std::string& hex) {
  std::vector<uint8_t> bytes;
  auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
  for (size_t i = 0; i + 1 < hex.size();) {
    if (hex[i] == '\n') {
      ++i;
      continue;
    }
    bytes.push_back(static_cast<uint8_t>(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
    i += 2;
  }
  return bytes;
}

TEST(CompilerGolden, WholeVehicleCommandsGiveTheHandComputedStream) {
  const std::u16string folder = SourcePath("tests/data/golden/");
  const std::string script = ReadTestFile(folder + u"whole_vehicle.txt");
  const std::vector<uint8_t> expected = FromHexLines(ReadTestFile(folder + u"whole_vehicle.hex"));
  ASSERT_FALSE(script.empty());
  ASSERT_FALSE(expected.empty());

  auto run = std::make_unique<CompileRun>();
  SetScriptPath(*run->compiler, folder + u"whole_vehicle.txt");
  run->compiler->output_override = MakeTempFolder() + u"out.z5t";
  std::vector<char> text(script.begin(), script.end());
  run->result = Compile(*run->compiler, text.data(), text.size(), run->log);

  EXPECT_EQ(run->result, 0u) << run->LogText();
  const std::vector<uint8_t>& stream = run->Stream();
  ASSERT_EQ(stream.size(), expected.size()) << run->LogText();
  for (size_t i = 0; i < stream.size(); ++i) {
    ASSERT_EQ(stream[i], expected[i]) << "first difference at stream offset " << i;
  }
  // Only the start line and the file-created line: no command complained.
  EXPECT_EQ(run->LogText().find("エラー"), std::string::npos) << run->LogText();
  EXPECT_NE(run->LogText().find("バイナリファイルを作成しました"), std::string::npos);

  const PreviewState& p = run->compiler->preview;
  EXPECT_EQ(p.bogie_count, 4u);
  EXPECT_FLOAT_EQ(p.bogies[3].position, 1.40625f);
  EXPECT_EQ(U8(p.vehicle_name), "クハ 481,改");
  EXPECT_EQ(p.extension_flags, 3u);
  ASSERT_EQ(p.container_positions.size(), 1u);
  ASSERT_EQ(p.waves.size(), 1u);
  EXPECT_EQ(U8(p.waves[0].name), "horn");
  EXPECT_EQ(p.waves[0].number, 3);
}

}  // namespace
