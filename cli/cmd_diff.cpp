// railwick diff A B: the records that differ between two data files.
#include <cstdio>

#include "cli/cli.h"
#include "cli/opened_data_file.h"
#include "cli/record_diff.h"
#include "compiler/record_layouts.h"

namespace {

std::string Describe(const RecordView& r) {
  std::string line;
  FormatRecordLine(r, line);
  return line;
}

// The fields that differ, one line each; a record whose decoded fields are
// all equal differs in its embedded bytes.
void PrintChangedFields(const RecordView& a, const RecordView& b) {
  const RecordLayout* layout = FindRecordLayout(a.tag);
  std::vector<DecodedField> fa, fb;
  std::string error;
  if (layout) {
    DecodeRecordFieldList(*layout, a, fa, error);
    DecodeRecordFieldList(*layout, b, fb, error);
  }
  bool any = false;
  for (size_t i = 0; i < std::max(fa.size(), fb.size()); ++i) {
    const std::string va = i < fa.size() ? fa[i].display : "(none)";
    const std::string vb = i < fb.size() ? fb[i].display : "(none)";
    if (va == vb) continue;
    const char* label = i < fa.size() ? fa[i].label : fb[i].label;
    std::printf("    %s: %s -> %s\n", label, va.c_str(), vb.c_str());
    any = true;
  }
  if (!any) std::printf("    embedded bytes differ (%u -> %u bytes of data)\n", a.length, b.length);
}

}  // namespace

int CliDiff(const DiffOptions& options) {
  // 0 equal, 1 different, 2 a file that cannot be read or is damaged:
  // damaged records compared as if sound would mislead.
  OpenedDataFile a, b;
  OpenDataFileArgument(options.file_a, a);
  OpenDataFileArgument(options.file_b, b);
  if (!a.Sound() || !b.Sound()) {
    PrintDataFileFaults(a, "A: " + a.path);
    PrintDataFileFaults(b, "B: " + b.path);
    return kExitUsage;
  }
  const std::vector<RecordView>& ra = a.records;
  const std::vector<RecordView>& rb = b.records;
  const std::vector<RecordChange> changes = DiffRecords(ra, rb);
  size_t removed = 0, added = 0, changed = 0;
  for (const RecordChange& c : changes) {
    switch (c.kind) {
      case RecordChange::kRemoved:
        ++removed;
        std::printf("- %s\n", Describe(*c.a).c_str());
        break;
      case RecordChange::kAdded:
        ++added;
        std::printf("+ %s\n", Describe(*c.b).c_str());
        break;
      case RecordChange::kChanged:
        ++changed;
        std::printf("~ %s\n", Describe(*c.b).c_str());
        PrintChangedFields(*c.a, *c.b);
        break;
    }
  }
  if (changes.empty()) {
    std::printf("%s and %s: %zu records, equal\n", a.path.c_str(), b.path.c_str(), ra.size());
    return kExitOk;
  }
  std::printf("%zu changed, %zu removed, %zu added\n", changed, removed, added);
  return kExitFailed;
}
