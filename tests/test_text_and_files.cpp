// Shift-JIS and UTF-8 conversion, numbers, and the file helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/files.h"
#include "platform/fs.h"
#include "platform/image_headers.h"
#include "platform/numbers.h"
#include "platform/sjis.h"
#include "tests/test_util.h"

namespace {

TEST(ShiftJis, KnownCharactersBothWays) {
  // Bytes from the code page 932 chart.
  const std::string bytes = "\x82\xA0\x8A\xBF\xB1\x83\x5C\x5C\x81\x60";  // あ 漢 ｱ ソ \ ～
  std::u16string text = SjisToUtf16(bytes);
  EXPECT_EQ(text, (std::u16string{0x3042, 0x6F22, 0xFF71, 0x30BD, 0x5C, 0xFF5E}));
  std::string back;
  ASSERT_TRUE(Utf16ToSjis(text, back));
  EXPECT_EQ(back, bytes);
}

TEST(ShiftJis, UndecodableBytesAndUnencodableCharacters) {
  size_t bad = 0;
  // A lone 0x80, a lead byte with an invalid trail, and a lead at the end.
  std::u16string text = SjisToUtf16(std::string("a\x80"
                                                "b\x81\x0A"
                                                "c\x82",
                                                7),
                                    &bad);
  EXPECT_EQ(text, (std::u16string{u'a', 0xFFFD, u'b', 0xFFFD, u'\n', u'c', 0xFFFD}));
  EXPECT_EQ(bad, 3u);
  std::string out;
  size_t where = 99;
  EXPECT_FALSE(Utf16ToSjis(u"ok\u00E9", out, &where));  // é has no code page 932 form
  EXPECT_EQ(where, 2u);
  EXPECT_FALSE(Utf16ToSjis(u"\U0001F600", out));
}

TEST(Utf8, SurrogatePairsAndInvalidBytes) {
  std::u16string smile = Utf8ToUtf16("\xF0\x9F\x98\x80");
  EXPECT_EQ(smile, (std::u16string{0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(smile), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), (std::u16string{u'a', 0xFFFD}));
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), (std::u16string{0xFFFD, 0xFFFD}));  // overlong
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800}), "\xEF\xBF\xBD");
}

TEST(Numbers, IntegersAsStrtolReadsThem) {
  EXPECT_EQ(ParseInt32("  -42abc"), -42);
  EXPECT_EQ(ParseInt32("+7"), 7);
  EXPECT_EQ(ParseInt32("x1"), 0);
  EXPECT_EQ(ParseInt32(""), 0);
  EXPECT_EQ(ParseInt32("99999999999"), 2147483647);
  EXPECT_EQ(ParseInt32("-99999999999"), -2147483647 - 1);
}

TEST(Numbers, FloatsIgnoreTheLocale) {
  EXPECT_EQ(ParseDouble(" 1.5e2x"), 150.0);
  EXPECT_EQ(ParseDouble("+0.25"), 0.25);
  EXPECT_EQ(ParseDouble("-.5"), -0.5);
  EXPECT_EQ(ParseDouble("abc"), 0.0);
  EXPECT_EQ(ParseDouble("1,5"), 1.0);
  EXPECT_TRUE(std::isinf(ParseDouble("1e999")));
  EXPECT_EQ(ParseDouble("1e-999"), 0.0);
}

TEST(FileUtils, ReadAndWriteWholeFiles) {
  std::u16string folder = MakeTempFolder();
  std::vector<uint8_t> data(2049);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  ASSERT_TRUE(WriteWholeFile(folder + u"a.bin", data.data(), data.size()));
  std::vector<uint8_t> back;
  ASSERT_TRUE(ReadWholeFile(folder + u"a.bin", back));
  EXPECT_EQ(back, data);
  ASSERT_TRUE(WriteWholeFile(folder + u"empty.bin", "", 0));
  EXPECT_FALSE(ReadWholeFile(folder + u"empty.bin", back));
  EXPECT_TRUE(back.empty());
  EXPECT_FALSE(ReadWholeFile(folder + u"missing.bin", back));
  // A write into a missing folder fails and creates nothing.
  EXPECT_FALSE(WriteWholeFile(folder + u"no/such.bin", "x", 1));
  // Japanese names, and '\' as a separator.
  FsCreateDirectory(folder + u"車両");
  ASSERT_TRUE(WriteWholeFile(folder + u"車両\\データ.bin", "xy", 2));
  ASSERT_TRUE(ReadWholeFile(folder + u"車両/データ.bin", back));
  EXPECT_EQ(back.size(), 2u);
}

TEST(FileUtils, ReadTheStartOfAFile) {
  std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"long.bin", "0123456789");
  std::vector<uint8_t> back;
  ASSERT_TRUE(FsReadFileStart(folder + u"long.bin", 4, back));
  EXPECT_EQ(std::string(back.begin(), back.end()), "0123");
  ASSERT_TRUE(FsReadFileStart(folder + u"long.bin", 64, back));  // a shorter file reads whole
  EXPECT_EQ(std::string(back.begin(), back.end()), "0123456789");
  EXPECT_FALSE(FsReadFileStart(folder + u"missing.bin", 4, back));
  EXPECT_TRUE(back.empty());
}

TEST(FileUtils, LetterCaseIsIgnoredAsWindowsDoes) {
  std::u16string folder = MakeTempFolder();
  FsCreateDirectory(folder + u"Models");
  WriteTestFile(folder + u"Models/Tex.png", "png");
  std::vector<uint8_t> back;
  EXPECT_TRUE(ReadWholeFile(folder + u"models\\TEX.PNG", back));
}

TEST(FileUtils, Utf8TextSanitizeAndCompare) {
  std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"t.xml", "\xEF\xBB\xBFline1\r\n行2\n");
  std::u16string text;
  ASSERT_TRUE(ReadUtf8TextFile(folder + u"t.xml", text));
  EXPECT_EQ(U8(text), "line1\n行2\n");
  EXPECT_FALSE(ReadUtf8TextFile(folder + u"none.xml", text));

  std::u16string name = u"a:b?c\"d'e*f/g<h>i\\j|k\tl車";
  SanitizeFileName(name);
  EXPECT_EQ(U8(name), "a_b_c_d_e_f_g_h_i_j_k_l車");
}

TEST(FileUtils, PngHeaderNeedsTheWholeIhdr) {
  const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\2\0\0\0\1\0\x08\x06", 26);
  PngHeader h;
  ASSERT_TRUE(ReadPngSize(reinterpret_cast<const uint8_t*>(png.data()), png.size(), h));
  EXPECT_EQ(h.width, 512u);
  EXPECT_EQ(h.height, 256u);
  EXPECT_EQ(h.bit_depth, 8);
  EXPECT_TRUE(h.truecolour);
  EXPECT_TRUE(h.alpha);
  PngHeader untouched;
  untouched.width = 77;
  EXPECT_FALSE(ReadPngSize(reinterpret_cast<const uint8_t*>(png.data()), 25, untouched));
  EXPECT_FALSE(
      ReadPngSize(reinterpret_cast<const uint8_t*>("GIF89a........................."), 30, untouched));
  EXPECT_EQ(untouched.width, 77u);
}

}  // namespace
