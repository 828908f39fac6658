// Any bytes as the resource pack: the table parsed from memory and from a
// file, every entry looked up (on-demand ones read from the file again), as
// text too, and looked up once more after the file has been cut short
// behind the reader's back.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/scratch_folder.h"
#include "platform/resource_pack.h"

namespace {

void LookUpEveryEntry(ResourcePack& pack, const std::vector<std::u16string>& names) {
  for (const std::u16string& name : names) {
    uint32_t size = 0;
    const uint8_t* data = FindResourceEntry(pack, name, &size);
    if (data) {
      volatile uint8_t sink = 0;
      for (uint32_t i = 0; i < size; ++i) sink = sink ^ data[i];  // every byte must be readable
    }
    std::u16string text;
    ReadResourceText(pack, name, 259, text);
    if (text.size() > 259) __builtin_trap();
    ReleaseResourceEntry(pack, name);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::u16string path = MakeScratchFolder(u"pack", {}) + u"zek5rlwck.res";
  const std::vector<uint8_t> bytes(data, data + size);
  std::vector<ResourcePackEntry> entries;
  const bool parsed = ParseResourcePack(bytes.data(), size, entries);
  if (!parsed && !entries.empty()) __builtin_trap();

  FsWriteFileAtomic(path, data, size);
  ResourcePack pack;
  SetResourcePackName(pack, u"zek5rlwck");
  if (OpenResourcePackFile(pack, path) != parsed) __builtin_trap();
  std::vector<std::u16string> names = {u"", u"missing"};
  for (const ResourcePackEntry& e : pack.entries) {
    if (e.name[kResourceNameUnits - 1] != 0) __builtin_trap();
    if (uint64_t{e.offset} + e.size > size) __builtin_trap();
    names.emplace_back(e.name);
  }
  LookUpEveryEntry(pack, names);
  FsWriteFileAtomic(path, data, size / 2);
  LookUpEveryEntry(pack, names);
  CloseResourcePack(pack);
  return 0;
}
