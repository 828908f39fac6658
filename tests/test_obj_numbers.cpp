// Numbers in OBJ files: the short decimals exporters write take a path of
// their own, which must give the bits a correctly rounding reader gives
// (glibc's strtod, read as a double and rounded to float as the model
// stores it), and every other shape must still reach the general reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/test_obj_util.h"

namespace {

uint32_t Bits(float f) {
  uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

// Reads the tokens as the x of one "v" line each; returns the x values.
std::vector<float> ReadXs(const std::vector<std::string>& tokens) {
  ObjFolder f;
  std::string text;
  for (const std::string& t : tokens) text += "v " + t + " 0 0\n";
  f.File("m.obj", text);
  EXPECT_EQ(f.Read(), ObjResult::kOk);
  std::vector<float> xs;
  for (int i = 0; i < f.model->position_count; ++i) xs.push_back(f.model->positions[i][0]);
  return xs;
}

float Reference(const std::string& token) {
  return static_cast<float>(std::strtod(token.c_str(), nullptr));
}

}  // namespace

TEST(ObjNumbers, RandomDecimalsRoundAsACorrectReader) {
  std::mt19937 random(20261207);
  std::vector<std::string> tokens;
  for (int i = 0; i < 20000; ++i) {
    std::string t = random() % 2 ? "-" : "";
    int whole = static_cast<int>(random() % 10);     // 0 to 9 digits: past 7 leaves the short path
    int fraction = static_cast<int>(random() % 11);  // 0 to 10: past 8 too
    for (int k = 0; k < whole; ++k) t += static_cast<char>('0' + random() % 10);
    t += '.';
    for (int k = 0; k < fraction; ++k) t += static_cast<char>('0' + random() % 10);
    if (whole + fraction == 0) t += '5';
    tokens.push_back(t);
  }
  // Longer tokens next to float midpoints (16777217 lies exactly between two
  // floats): these take the general path, read into a double and rounded
  // to float as every number is.
  for (const char* t : {"0.10000000149011612", "1.00000005960464", "16777217.0", "0.30000001192092896"})
    tokens.push_back(t);
  std::vector<float> xs = ReadXs(tokens);
  ASSERT_EQ(xs.size(), tokens.size());
  for (size_t i = 0; i < tokens.size(); ++i) ASSERT_EQ(Bits(xs[i]), Bits(Reference(tokens[i]))) << tokens[i];
}

TEST(ObjNumbers, ShapesBesideTheShortDecimal) {
  const std::vector<std::string> tokens = {
      "-0.0",         // negative zero keeps its sign
      "-0.",          // no fraction digits
      "5.",           //
      ".25",          // no whole digits
      "-.5",          //
      "12345678.5",   // eight whole digits: the general reader
      "0.123456789",  // nine fraction digits
      "1.5e2",        // an exponent after the fraction
      "+2.5",         // one leading '+'
      "7",            // no point at all
      "1.5x",         // trailing bytes: the number up to them
      "2.5.5",        // a second point
      "-",            // nothing readable
      ".",            //
  };
  const float expected[] = {-0.0f,  -0.0f, 5.0f, 0.25f, -0.5f, 12345678.5f, 0.123456789f,
                            150.0f, 2.5f,  7.0f, 1.5f,  2.5f,  0.0f,        0.0f};
  std::vector<float> xs = ReadXs(tokens);
  ASSERT_EQ(xs.size(), tokens.size());
  for (size_t i = 0; i < tokens.size(); ++i) EXPECT_EQ(Bits(xs[i]), Bits(expected[i])) << tokens[i];
  EXPECT_TRUE(std::signbit(xs[0]));
  EXPECT_TRUE(std::signbit(xs[1]));
}
