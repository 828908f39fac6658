// Walking, checking and decoding the records of a plain stream. Expected
// texts are worked out by hand from the record layouts.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/msvc_random.h"
#include "compiler/record_layouts.h"
#include "compiler/record_walker.h"
#include "tests/test_data_file_util.h"

namespace {

std::vector<uint8_t> Text(const std::u16string& text, size_t units) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < units; ++i) PutLe16(out, i < text.size() ? uint16_t(text[i]) : 0);
  return out;
}

void PutF32(std::vector<uint8_t>& out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  PutLe32(out, bits);
}

std::string Framing(const std::vector<uint8_t>& stream, size_t* records = nullptr) {
  std::string error;
  return CheckStreamFraming(stream.data(), stream.size(), records, error) ? "ok" : error;
}

// The listing line of a stream holding one record.
std::string Line(uint32_t tag, const std::vector<uint8_t>& data, bool* fits = nullptr) {
  std::vector<uint8_t> stream;
  PutRecord(stream, tag, data);
  RecordWalker w{stream.data(), stream.size(), 0};
  RecordView r;
  std::string error, line;
  EXPECT_EQ(NextRecord(w, r, error), WalkStep::kRecord) << error;
  const bool ok = FormatRecordLine(r, line);
  if (fits) *fits = ok;
  return line;
}

}  // namespace

TEST(DataFileRecords, FramingAcceptsOnlyCompleteRecordsEndingWithTheEndRecord) {
  std::vector<uint8_t> stream;
  PutRecord(stream, 0xF000, {});
  PutRecord(stream, 0x1002, {0x39, 0x30});
  const std::vector<uint8_t> end = EndRecord();
  std::vector<uint8_t> good = stream;
  good.insert(good.end(), end.begin(), end.end());
  size_t records = 0;
  EXPECT_EQ(Framing(good, &records), "ok");
  EXPECT_EQ(records, 3u);

  EXPECT_EQ(Framing({}), "the stream does not end with the end record (tag 0x1, length 0)");
  EXPECT_EQ(Framing(stream), "the stream does not end with the end record (tag 0x1, length 0)");

  std::vector<uint8_t> trailing = good;
  trailing.push_back(0);
  EXPECT_EQ(Framing(trailing), "end record at offset 0x12 is followed by 1 more bytes");
  std::vector<uint8_t> two_ends = good;
  two_ends.insert(two_ends.end(), end.begin(), end.end());
  EXPECT_EQ(Framing(two_ends), "end record at offset 0x12 is followed by 8 more bytes");

  std::vector<uint8_t> long_end = stream;
  PutRecord(long_end, 1, {0});
  EXPECT_EQ(Framing(long_end), "end record at offset 0x12 has length 1 instead of 0");

  std::vector<uint8_t> cut_header = good;
  cut_header.resize(good.size() - 3);
  EXPECT_EQ(Framing(cut_header), "record header at offset 0x12 is cut short: 5 of 8 bytes left");

  // Lengths that run past the end, up to the largest a u32 can say, never
  // wrap the bounds check.
  for (uint32_t length : {3u, 0x7FFFFFFFu, 0xFFFFFFF8u, 0xFFFFFFFFu}) {
    std::vector<uint8_t> hostile;
    PutLe32(hostile, 0x1500);
    PutLe32(hostile, length);
    hostile.insert(hostile.end(), {1, 0});
    EXPECT_EQ(Framing(hostile), "record 0x1500 at offset 0x0 has length " + std::to_string(length) +
                                    " but only 2 bytes follow");
  }
}

TEST(DataFileRecords, WalkerStopsAtABrokenRecordAndStaysThere) {
  std::vector<uint8_t> stream;
  PutRecord(stream, 0xF000, {});
  PutLe32(stream, 0x1004);
  PutLe32(stream, 128);  // no data follows
  RecordWalker w{stream.data(), stream.size(), 0};
  RecordView r;
  std::string error;
  ASSERT_EQ(NextRecord(w, r, error), WalkStep::kRecord);
  EXPECT_EQ(r.tag, 0xF000u);
  EXPECT_EQ(NextRecord(w, r, error), WalkStep::kBroken);
  EXPECT_EQ(w.offset, 8u);
  EXPECT_EQ(NextRecord(w, r, error), WalkStep::kBroken);

  std::vector<uint8_t> ok = EndRecord();
  RecordWalker done{ok.data(), ok.size(), 0};
  EXPECT_EQ(NextRecord(done, r, error), WalkStep::kRecord);
  EXPECT_EQ(NextRecord(done, r, error), WalkStep::kDone);
}

TEST(DataFileRecords, KnownLayoutsDecodeTheirFields) {
  EXPECT_EQ(Line(0xF000, {}), "00000000  0xF000            0  BeginHeader");
  EXPECT_EQ(Line(1, {}), "00000000  0x1               0  (end of stream)");

  std::vector<uint8_t> section;
  PutLe16(section, 0x4851);
  PutLe16(section, 400);
  EXPECT_EQ(Line(0x1001, section), "00000000  0x1001            4  SECTION  magic=0x4851  version=400");

  // A text shorter than its field ends at its NUL; one of exactly 64 units
  // has none and is read to the end of the field.
  EXPECT_EQ(Line(0x1004, Text(u"キハ40", 64)), "00000000  0x1004          128  名称  name=\"キハ40\"");
  const std::u16string full(64, u'x');
  EXPECT_EQ(Line(0x1004, Text(full, 64)),
            "00000000  0x1004          128  名称  name=\"" + std::string(64, 'x') + "\"");
  // Quotes, backslashes and control characters are escaped.
  EXPECT_EQ(Line(0x1005, Text(u"a\"b\\c\x1b[2J\x85", 32)),
            "00000000  0x1005           64  短縮名  short_name=\"a\\\"b\\\\c\\u001B[2J\\u0085\"");

  std::vector<uint8_t> bogie;
  PutLe32(bogie, 3);
  PutF32(bogie, 1.40625f);
  PutLe32(bogie, 2);
  EXPECT_EQ(Line(0x1013, bogie),
            "00000000  0x1013           12  台車  bogie=3  position=1.40625  kind=2 固定");

  std::vector<uint8_t> category, speed, flags;
  PutLe32(category, 0x21);
  PutLe32(speed, 0xFFFFFFFF);  // a missing checked number
  PutLe32(flags, 3);
  EXPECT_EQ(Line(0x1003, category), "00000000  0x1003            4  TYPE  category=0x21 特急電車");
  EXPECT_EQ(Line(0x1016, speed), "00000000  0x1016            4  速度  speed=-1");
  EXPECT_EQ(Line(0x1025, flags), "00000000  0x1025            4  車両拡張  flags=0x3 LEDTAILFR|LEDTAILBK");

  std::vector<uint8_t> lamp;
  PutLe32(lamp, 1);
  for (float v : {0.5f, -1.25f, 3.0f, 0.1f}) PutF32(lamp, v);
  EXPECT_EQ(Line(0x1020, lamp),
            "00000000  0x1020           20  ヘッドライト  lamp=1 シールドビーム  x=0.5  y=-1.25  z=3  w=0.1");

  std::vector<uint8_t> sound;
  PutLe32(sound, 0);
  PutLe32(sound, 5);
  sound.insert(sound.end(), {'R', 'I', 'F', 'F', 0});
  EXPECT_EQ(Line(0x1202, sound), "00000000  0x1202           13  音源警笛  reserved=0  wav=5 bytes");

  // Two embedded files one after the other.
  std::vector<uint8_t> panta;
  PutLe32(panta, 2);
  panta.insert(panta.end(), {7, 7});
  PutLe32(panta, 0);
  EXPECT_EQ(Line(0x1330, panta), "00000000  0x1330           10  3Dパンタ  mesh1=2 bytes  mesh2=0 bytes");

  std::vector<uint8_t> info;
  PutLe32(info, 24);
  for (uint16_t v : {0, 1, 2}) PutLe16(info, v);
  PutLe32(info, 512);
  PutLe32(info, 256);
  EXPECT_EQ(
      Line(0x1400, info),
      "00000000  0x1400           18  テクスチャーINFO  bits=24  value1=0  value2=1  value3=2  width=512  "
      "height=256");

  std::vector<uint8_t> saved;
  PutLe32(saved, 1700000000);
  PutLe32(saved, 0);
  EXPECT_EQ(Line(0x801004, saved),
            "00000000  0x801004          8  ContainerSavetime  saved=1700000000 (2023-11-14 22:13:20 UTC)");

  bool fits = false;
  EXPECT_EQ(Line(0x123456, {1, 2, 3}, &fits), "00000000  0x123456          3  (unknown record)");
  EXPECT_TRUE(fits);
}

TEST(DataFileRecords, RecordsThatDoNotFitTheirLayoutAreFlagged) {
  bool fits = true;
  EXPECT_EQ(Line(0x1002, {1}, &fits),
            "00000000  0x1002            1  ID  !! length 1 ends inside field 'id'");
  EXPECT_FALSE(fits);
  EXPECT_EQ(Line(0x1002, {1, 0, 0}, &fits),
            "00000000  0x1002            3  ID  id=1  !! length 3 but the fields take 2");
  EXPECT_FALSE(fits);
  EXPECT_EQ(Line(0xF001, {0}, &fits),
            "00000000  0xF001            1  EndHeader  !! length 1 but the fields take 0");
  EXPECT_FALSE(fits);

  std::vector<uint8_t> sideview;
  PutLe32(sideview, 0xFFFFFFFF);
  sideview.push_back(0x89);
  EXPECT_EQ(
      Line(0x1500, sideview, &fits),
      "00000000  0x1500            5  形式CG  image=4294967295 bytes  !! embedded size 4294967295 of 'image' "
      "runs past the record (1 bytes left)");
  EXPECT_FALSE(fits);
}

// Every record of the format with its length: data bytes of the fixed
// records, and for records that embed files the bytes beside the files.
struct KnownLength {
  uint32_t tag;
  uint32_t bytes;
  bool embeds_files;
};
const KnownLength kKnownLengths[] = {
    {0x0001, 0, false},   {0xF000, 0, false},   {0xF001, 0, false},     {0xF002, 0, false},
    {0xF003, 0, false},   {0xF004, 0, false},   {0xF005, 0, false},     {0xF006, 0, false},
    {0xF007, 0, false},   {0xF008, 0, false},   {0xF009, 0, false},     {0xF00A, 0, false},
    {0xF00B, 0, false},   {0x801000, 0, false}, {0x8010FF, 0, false},   {0x801100, 0, false},
    {0x8011FF, 0, false}, {0x801FFF, 0, false}, {0x1001, 4, false},     {0x100F, 8, false},
    {0x1002, 2, false},   {0x1003, 4, false},   {0x1004, 128, false},   {0x1005, 64, false},
    {0x1006, 256, false}, {0x1007, 258, false}, {0x1013, 12, false},    {0x1015, 8, false},
    {0x1016, 4, false},   {0x1017, 16, false},  {0x1018, 4, false},     {0x1019, 16, false},
    {0x101B, 16, false},  {0x1020, 20, false},  {0x1021, 20, false},    {0x1022, 8, false},
    {0x1023, 4, false},   {0x1025, 4, false},   {0x12F0, 8, false},     {0x130B, 4, false},
    {0x1312, 8, false},   {0x1313, 16, false},  {0x1331, 8, false},     {0x1360, 20, false},
    {0x1400, 18, false},  {0x1420, 14, false},  {0x801001, 64, false},  {0x801002, 4, false},
    {0x801003, 4, false}, {0x801004, 8, false}, {0x801005, 128, false}, {0x801006, 32, false},
    {0x801007, 4, false}, {0x1201, 8, true},    {0x1202, 8, true},      {0x1203, 8, true},
    {0x1204, 8, true},    {0x1205, 8, true},    {0x1206, 8, true},      {0x1207, 8, true},
    {0x1208, 8, true},    {0x1209, 8, true},    {0x120A, 8, true},      {0x120B, 8, true},
    {0x1210, 8, true},    {0x1211, 8, true},    {0x1300, 4, true},      {0x1302, 4, true},
    {0x1303, 4, true},    {0x1307, 4, true},    {0x1304, 4, true},      {0x1305, 4, true},
    {0x1306, 4, true},    {0x1309, 4, true},    {0x130D, 4, true},      {0x1308, 4, true},
    {0x130A, 8, true},    {0x130C, 12, true},   {0x1310, 8, true},      {0x1311, 12, true},
    {0x1320, 8, true},    {0x1330, 8, true},    {0x1340, 8, true},      {0x1341, 8, true},
    {0x1342, 4, true},    {0x1350, 76, true},   {0x1404, 12, true},     {0x1412, 12, true},
    {0x1500, 4, true},    {0x801020, 12, true}, {0x801101, 8, true},    {0x801102, 4, true},
};

TEST(DataFileRecords, EveryLayoutHasTheFormatsLengthAndStaysInsideItsRecord) {
  size_t count = 0;
  RecordLayouts(&count);
  EXPECT_EQ(count, sizeof kKnownLengths / sizeof kKnownLengths[0]);
  bool fits = false;
  for (const KnownLength& k : kKnownLengths) {
    ASSERT_NE(FindRecordLayout(k.tag), nullptr) << std::hex << k.tag;
    // Zeroed data: texts empty, embedded files of size 0.
    Line(k.tag, std::vector<uint8_t>(k.bytes, 0), &fits);
    EXPECT_TRUE(fits) << std::hex << k.tag;
    if (k.bytes > 0) {
      Line(k.tag, std::vector<uint8_t>(k.bytes - 1, 0), &fits);
      EXPECT_FALSE(fits) << std::hex << k.tag << " one byte short";
    }
    Line(k.tag, std::vector<uint8_t>(k.bytes + 1, 0), &fits);
    EXPECT_FALSE(fits) << std::hex << k.tag << " one byte long";
    // Sizes of all ones never fit and are never followed out of the record.
    if (k.embeds_files) {
      for (uint32_t length = 0; length <= k.bytes + 8; ++length) {
        Line(k.tag, std::vector<uint8_t>(length, 0xFF), &fits);
        EXPECT_FALSE(fits) << std::hex << k.tag << " length " << std::dec << length;
      }
    }
  }
}

// Streams of known tags with random lengths and contents: every record the
// walker hands out lies inside the bytes, and decoding it stays there too
// (the sanitizer build checks the reads).
TEST(DataFileRecords, RandomStreamsStayInsideTheirBytes) {
  size_t count = 0;
  const RecordLayout* layouts = RecordLayouts(&count);
  MsvcRandom random;
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> stream;
    const int records = int(NextMsvcRandom(random) % 6);
    for (int i = 0; i < records; ++i) {
      PutLe32(stream, layouts[NextMsvcRandom(random) % count].tag);
      const uint32_t length = NextMsvcRandom(random) % 300;
      PutLe32(stream, NextMsvcRandom(random) % 8 == 0 ? NextMsvcRandom(random) << 17 : length);
      for (uint32_t b = 0; b < length; ++b) stream.push_back(uint8_t(NextMsvcRandom(random)));
    }
    stream.resize(stream.size() - NextMsvcRandom(random) % 4 * (stream.size() > 8));
    // An exact-size heap copy, so a read past the end is a read past the
    // allocation.
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[stream.size()]);
    std::copy(stream.begin(), stream.end(), bytes.get());
    RecordWalker w{bytes.get(), stream.size(), 0};
    RecordView r;
    std::string error, line;
    while (NextRecord(w, r, error) == WalkStep::kRecord) {
      ASSERT_GE(r.data, bytes.get());
      ASSERT_LE(r.data + r.length, bytes.get() + stream.size());
      FormatRecordLine(r, line);
    }
    CheckStreamFraming(bytes.get(), stream.size(), nullptr, error);
  }
}
