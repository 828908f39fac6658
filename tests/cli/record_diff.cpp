// How railwick diff aligns two record lists: the cases of
// tests/data/cli/record_diff.txt, and the place-by-place fallback for
// middles too large for the table.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/record_diff.h"
#include "tests/case_text.h"

namespace {

// Records written "TAG:TEXT" (the text is the data), one word each.
std::vector<RecordView> Records(const std::string& words, std::vector<std::string>& texts) {
  std::istringstream in(words);
  for (std::string w; in >> w;) texts.push_back(w);
  std::vector<RecordView> out;
  for (const std::string& t : texts)
    out.push_back({0, uint32_t(std::stoul(t)), uint32_t(t.size() - 2), reinterpret_cast<const uint8_t*>(t.data() + 2)});
  return out;
}

std::string Name(const RecordView* r) { return std::to_string(r->tag) + ":" + std::string(reinterpret_cast<const char*>(r->data), r->length); }

std::string Changes(const std::vector<RecordView>& a, const std::vector<RecordView>& b) {
  std::string out;
  for (const RecordChange& c : DiffRecords(a, b)) {
    if (!out.empty()) out += " ";
    if (c.kind == RecordChange::kRemoved) out += "-" + Name(c.a);
    if (c.kind == RecordChange::kAdded) out += "+" + Name(c.b);
    if (c.kind == RecordChange::kChanged) out += "~" + Name(c.a) + ">" + Name(c.b);
  }
  return out;
}

TEST(RecordDiff, ChangesFollowTheCommonSequence) {
  RunCaseFile("cli/record_diff.txt", {{"diff", [](const CaseFields& in) {
                                         std::vector<std::string> ta, tb;
                                         return Changes(Records(in[0], ta), Records(in[1], tb));
                                       }}});
}

TEST(RecordDiff, MiddlesPastTheTableLimitCompareByPlace) {
  // b is a shifted by one: the common sequence drops the first and adds the
  // last, comparing by place changes every record. 2000 x 2000 still fits.
  for (size_t n : {2000u, 2001u}) {
    std::string wa, wb;
    for (size_t i = 0; i < n; ++i) wa += "1:" + std::to_string(i) + " ", wb += "1:" + std::to_string(i + 1) + " ";
    std::vector<std::string> sa, sb;
    const std::vector<RecordChange> changes = DiffRecords(Records(wa, sa), Records(wb, sb));
    EXPECT_EQ(changes.size(), n == 2000 ? 2u : n) << n;
  }
}

}  // namespace
