#include <gtest/gtest.h>

#include <cmath>

#include "dialogs/dialog_numbers.h"

namespace {

TEST(DialogNumbers, FloatsFillTheWholeText) {
  float v = -1;
  EXPECT_TRUE(ReadDialogFloat(u"1.5", v));
  EXPECT_EQ(v, 1.5f);
  EXPECT_TRUE(ReadDialogFloat(u"-0.25", v));
  EXPECT_EQ(v, -0.25f);
  EXPECT_TRUE(ReadDialogFloat(u"+3", v));
  EXPECT_EQ(v, 3.0f);
  EXPECT_TRUE(ReadDialogFloat(u".5", v));
  EXPECT_EQ(v, 0.5f);
  EXPECT_TRUE(ReadDialogFloat(u"7.", v));
  EXPECT_EQ(v, 7.0f);
  EXPECT_TRUE(ReadDialogFloat(u"1e3", v));
  EXPECT_EQ(v, 1000.0f);
  EXPECT_TRUE(ReadDialogFloat(u"2.5E-1", v));
  EXPECT_EQ(v, 0.25f);
  // 0.1 rounds once, to the nearest float.
  EXPECT_TRUE(ReadDialogFloat(u"0.1", v));
  EXPECT_EQ(v, 0.1f);
  // An empty edit is an accepted 0.
  v = 9;
  EXPECT_TRUE(ReadDialogFloat(u"", v));
  EXPECT_EQ(v, 0.0f);
}

TEST(DialogNumbers, FloatsThatAreNotNumbersLeaveTheValue) {
  for (const char16_t* bad : {u"abc", u"1.5x", u"1,5", u"--1", u"+-1", u"-", u"+", u".", u"e5", u"1e", u"inf",
                              u"-inf", u"nan", u"infinity", u"0x10", u"1 2", u"1e39", u"-1e39", u"\u00bd"}) {
    float v = 42;
    EXPECT_FALSE(ReadDialogFloat(bad, v)) << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
    EXPECT_EQ(v, 42.0f);
  }
  // The largest float still reads.
  float v = 0;
  EXPECT_TRUE(ReadDialogFloat(u"3.4028234e38", v));
  EXPECT_TRUE(std::isfinite(v));
}

TEST(DialogNumbers, TypedInFullWidthOrWithBlanks) {
  float f = 0;
  EXPECT_TRUE(ReadDialogFloat(u"\uFF11\uFF12\uFF0E\uFF15", f));  // "１２．５"
  EXPECT_EQ(f, 12.5f);
  EXPECT_TRUE(ReadDialogFloat(u"\uFF0D\uFF13", f));  // "－３"
  EXPECT_EQ(f, -3.0f);
  EXPECT_TRUE(ReadDialogFloat(u"\u22123", f));  // minus sign
  EXPECT_EQ(f, -3.0f);
  EXPECT_TRUE(ReadDialogFloat(u"  2.0\t", f));
  EXPECT_EQ(f, 2.0f);
  EXPECT_TRUE(ReadDialogFloat(u"\u30004\u3000", f));  // ideographic spaces around
  EXPECT_EQ(f, 4.0f);
  EXPECT_TRUE(ReadDialogFloat(u"   ", f));  // blanks only: empty
  EXPECT_EQ(f, 0.0f);

  int32_t i = 0;
  EXPECT_TRUE(ReadDialogInt(u"\uFF11\uFF12\uFF10", i));  // "１２０"
  EXPECT_EQ(i, 120);
  EXPECT_TRUE(ReadDialogInt(u" 95 ", i));
  EXPECT_EQ(i, 95);
  EXPECT_TRUE(ReadDialogInt(u"\uFF0B\uFF18", i));  // "＋８"
  EXPECT_EQ(i, 8);
  EXPECT_EQ(NormaliseNumberText(u"\u3000\uFF11\uFF25\uFF12 "), u"1E2");
}

TEST(DialogNumbers, IntegersAreDigitsOnly) {
  int32_t v = 0;
  EXPECT_TRUE(ReadDialogInt(u"-7", v));
  EXPECT_EQ(v, -7);
  EXPECT_TRUE(ReadDialogInt(u"2147483647", v));
  EXPECT_EQ(v, 2147483647);
  EXPECT_TRUE(ReadDialogInt(u"-2147483648", v));
  EXPECT_EQ(v, -2147483647 - 1);
  for (const char16_t* bad : {u"", u" ", u"12a", u"1.0", u"+", u"-", u"+-3", u"--3", u"2147483648",
                              u"-2147483649", u"99999999999999999999"}) {
    v = 5;
    EXPECT_FALSE(ReadDialogInt(bad, v));
    EXPECT_EQ(v, 5);
  }
}

TEST(DialogNumbers, FormatsAsPrintfWould) {
  // Expected texts worked out by hand from printf's rules.
  EXPECT_EQ(FormatDialogFloat(1.0f, 0, 6), u"1.000000");   // "%f"
  EXPECT_EQ(FormatDialogFloat(1.0f, 6, 5), u"1.00000");    // "%6.5f": already wider
  EXPECT_EQ(FormatDialogFloat(-7.5f, 4, 5), u"-7.50000");  // "%4.5f"
  EXPECT_EQ(FormatDialogFloat(0.0f, 5, 2), u" 0.00");      // "%5.2f" pads to five
  EXPECT_EQ(FormatDialogFloat(-1.5f, 5, 2), u"-1.50");
  EXPECT_EQ(FormatDialogFloat(200.0f, 5, 2), u"200.00");
  EXPECT_EQ(FormatDialogFloat(0.1f, 0, 6), u"0.100000");  // the float 0.100000001490116...
  EXPECT_EQ(FormatDialogFloat(2.675f, 5, 2), u" 2.67");   // 2.67499995231628...
  EXPECT_EQ(FormatDialogFloat(-0.0f, 5, 2), u"-0.00");
  EXPECT_EQ(FormatDialogInt(-120), u"-120");
  // What is shown reads back as the same float.
  for (float f : {0.1f, 123.456f, -9.875f, 1e-3f}) {
    float back = 0;
    ASSERT_TRUE(ReadDialogFloat(FormatDialogFloat(f, 0, 6), back));
    EXPECT_NEAR(back, f, 1e-6f);
  }
}

}  // namespace
