// Walking, checking and listing the records of a plain stream: the cases of
// tests/data/compiler/record_listing.cases, and streams no case lists.
#include <gtest/gtest.h>

#include <vector>

#include "compiler/record_layouts.h"
#include "compiler/record_walker.h"
#include "tests/case_text.h"

namespace {

// The listing line of a stream holding one record.
std::string Line(const std::vector<uint8_t>& stream, bool* fits) {
  RecordWalker w{stream.data(), stream.size(), 0};
  RecordView r;
  std::string error, line;
  EXPECT_EQ(NextRecord(w, r, error), WalkStep::kRecord) << error;
  *fits = FormatRecordLine(r, line);
  return line;
}

std::vector<uint8_t> OneRecord(uint32_t tag, size_t length, uint8_t fill) {
  std::vector<uint8_t> stream = CaseStream({"@" + HexTag(tag), "zeros:" + std::to_string(length)}, u"");
  std::fill(stream.begin() + 8, stream.end(), fill);
  return stream;
}

}  // namespace

TEST(RecordListing, EveryCaseGivesItsLineOrMessage) {
  size_t layouts = 0, cases = 0;
  bool fits = false;
  for (const std::string& line : CaseFileLines(SourcePath("tests/data/compiler/record_listing.cases"))) {
    std::vector<std::string> w = CaseWords(line.substr(0, line.find(" | ")));
    if (w.empty() || w[0][0] == '#') continue;
    SCOPED_TRACE(line);
    ++cases;
    const std::string expected = line.find(" | ") == std::string::npos ? "" : line.substr(line.find(" | ") + 3);
    if (w[0] == "fits" || w[0] == "misfit") {
      w[1] = "@" + w[1];
      EXPECT_EQ(Line(CaseStream(std::vector<std::string>(w.begin() + 1, w.end()), u""), &fits), expected);
      EXPECT_EQ(fits, w[0] == "fits");
    } else if (w[0] == "framing") {
      const std::vector<uint8_t> stream = CaseStream(std::vector<std::string>(w.begin() + 1, w.end()), u"");
      size_t records = 0;
      std::string error;
      const bool ok = CheckStreamFraming(stream.data(), stream.size(), &records, error);
      EXPECT_EQ(ok ? "ok " + std::to_string(records) : error, expected);
    } else if (w[0] == "layout") {
      // Zeroed data fits (texts empty, embedded files of size 0); a byte
      // less or more does not; sizes of all ones are never followed out of
      // the record.
      ++layouts;
      const uint32_t tag = uint32_t(std::stoul(w[1], nullptr, 16));
      const size_t bytes = std::stoul(w[2]);
      ASSERT_NE(FindRecordLayout(tag), nullptr);
      Line(OneRecord(tag, bytes, 0), &fits);
      EXPECT_TRUE(fits);
      if (bytes > 0) {
        Line(OneRecord(tag, bytes - 1, 0), &fits);
        EXPECT_FALSE(fits) << "one byte short";
      }
      Line(OneRecord(tag, bytes + 1, 0), &fits);
      EXPECT_FALSE(fits) << "one byte long";
      for (size_t length = 0; w[3] == "embeds" && length <= bytes + 8; ++length) {
        Line(OneRecord(tag, length, 0xFF), &fits);
        EXPECT_FALSE(fits) << "length " << length;
      }
    } else {
      ADD_FAILURE() << "unknown case";
    }
  }
  size_t count = 0;
  RecordLayouts(&count);
  EXPECT_EQ(layouts, count);
  EXPECT_GT(cases, 100u);
}

TEST(RecordListing, WalkerStopsAtABrokenRecordAndStaysThere) {
  // A name record whose 128 bytes never come.
  const std::vector<uint8_t> stream = CaseStream({"@F000", "raw:0410000080000000"}, u"");
  RecordWalker w{stream.data(), stream.size(), 0};
  RecordView r;
  std::string error;
  ASSERT_EQ(NextRecord(w, r, error), WalkStep::kRecord);
  EXPECT_EQ(r.tag, 0xF000u);
  EXPECT_EQ(NextRecord(w, r, error), WalkStep::kBroken);
  EXPECT_EQ(w.offset, 8u);
  EXPECT_EQ(NextRecord(w, r, error), WalkStep::kBroken);

  std::vector<uint8_t> ok = CaseStream({"@1"}, u"");
  RecordWalker done{ok.data(), ok.size(), 0};
  EXPECT_EQ(NextRecord(done, r, error), WalkStep::kRecord);
  EXPECT_EQ(NextRecord(done, r, error), WalkStep::kDone);
}
