// Aligns the records of two streams: equal records are matched along the
// longest common sequence; what is left is removed, added, or, where a
// removed and an added record share a tag at the same place, changed.
#pragma once
#include <vector>

#include "compiler/record_walker.h"

struct RecordChange {
  enum Kind { kRemoved, kAdded, kChanged } kind;
  const RecordView* a = nullptr;  // removed and changed
  const RecordView* b = nullptr;  // added and changed
};

std::vector<RecordChange> DiffRecords(const std::vector<RecordView>& a, const std::vector<RecordView>& b);
