#include "cli/record_diff.h"

#include <cstring>
#include <string>

namespace {

bool SameRecord(const RecordView& x, const RecordView& y) {
  return x.tag == y.tag && x.length == y.length && std::memcmp(x.data, y.data, x.length) == 0;
}

// Pairs each run of removals with the run of additions right after it:
// records of the same tag, in order, count as changed.
void AppendRun(std::vector<RecordChange>& out, std::vector<const RecordView*>& removed,
               std::vector<const RecordView*>& added) {
  std::vector<bool> used(added.size(), false);
  for (const RecordView* a : removed) {
    const RecordView* partner = nullptr;
    for (size_t j = 0; j < added.size(); ++j) {
      if (!used[j] && added[j]->tag == a->tag) {
        used[j] = true;
        partner = added[j];
        break;
      }
    }
    out.push_back(partner ? RecordChange{RecordChange::kChanged, a, partner}
                          : RecordChange{RecordChange::kRemoved, a, nullptr});
  }
  for (size_t j = 0; j < added.size(); ++j)
    if (!used[j]) out.push_back({RecordChange::kAdded, nullptr, added[j]});
  removed.clear();
  added.clear();
}

}  // namespace

std::vector<RecordChange> DiffRecords(const std::vector<RecordView>& a, const std::vector<RecordView>& b) {
  // Common head and tail first: most edits touch a few records in the middle.
  size_t head = 0;
  while (head < a.size() && head < b.size() && SameRecord(a[head], b[head])) ++head;
  size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         SameRecord(a[a.size() - 1 - tail], b[b.size() - 1 - tail]))
    ++tail;
  const size_t n = a.size() - head - tail, m = b.size() - head - tail;

  // Longest common sequence over the middle; a middle too large for the
  // table is compared place by place instead.
  std::vector<RecordChange> out;
  std::vector<const RecordView*> removed, added;
  if (n * m > 4000000) {
    for (size_t i = 0; i < std::max(n, m); ++i) {
      if (i < n && i < m && SameRecord(a[head + i], b[head + i])) {
        AppendRun(out, removed, added);
        continue;
      }
      if (i < n) removed.push_back(&a[head + i]);
      if (i < m) added.push_back(&b[head + i]);
    }
    AppendRun(out, removed, added);
    return out;
  }
  std::vector<uint32_t> lcs((n + 1) * (m + 1), 0);
  auto at = [&](size_t i, size_t j) -> uint32_t& { return lcs[i * (m + 1) + j]; };
  for (size_t i = n; i-- > 0;)
    for (size_t j = m; j-- > 0;)
      at(i, j) = SameRecord(a[head + i], b[head + j]) ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
  size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && SameRecord(a[head + i], b[head + j])) {
      AppendRun(out, removed, added);
      ++i, ++j;
    } else if (j < m && (i == n || at(i, j + 1) >= at(i + 1, j))) {
      added.push_back(&b[head + j++]);
    } else {
      removed.push_back(&a[head + i++]);
    }
  }
  AppendRun(out, removed, added);
  return out;
}
