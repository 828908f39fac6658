// The resource pack: a read-only file of named blobs beside the executable
// (effects, the overlay font's face name, the fatal-error caption). Small
// entries are read when the pack opens; the others are read from the file
// when looked up and can be dropped again after use.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t kResourcePackMagic = 0x2000;
constexpr uint16_t kResourcePackEntryTag = 0x0010;
constexpr size_t kResourceNameUnits = 24;  // name field, terminator included
constexpr size_t kResourceEntryHeaderBytes = 2 + 2 * kResourceNameUnits + 4 + 4;
constexpr size_t kResourcePackNameUnits = 16;

struct ResourcePackEntry {
  char16_t name[kResourceNameUnits] = {};  // always terminated
  uint32_t load_flag = 0;                  // 0: read at open; else on demand
  uint32_t offset = 0;                     // file offset of the data
  uint32_t size = 0;
  std::vector<uint8_t> data;       // entries read at open
  std::vector<uint8_t> on_demand;  // on-demand entries, while looked up
  bool on_demand_loaded = false;
};

struct ResourcePack {
  std::u16string path;
  char16_t name[kResourcePackNameUnits] = {};  // always terminated
  // In file order; lookups search from the back so a later entry of the
  // same name wins.
  std::vector<ResourcePackEntry> entries;
};

// Copies the pack name, cut to fit its field.
void SetResourcePackName(ResourcePack& pack, const std::u16string& name);

// Parses a whole pack image. Sizes are checked against the bytes given: an
// entry that runs past the end is an error. The table ends at a terminator or
// exactly at the end of the bytes. False for a wrong magic or a truncated
// entry (then `entries` is left empty).
bool ParseResourcePack(const uint8_t* bytes, size_t size, std::vector<ResourcePackEntry>& entries);

// Reads the table of the pack at `path` and keeps the path for on-demand
// reads. False for a missing, unreadable or malformed file.
bool OpenResourcePackFile(ResourcePack& pack, const std::u16string& path);

// The data of the named entry (exact, case-sensitive match), owned by the
// pack, with its size in `size`; null (and `size` untouched) when the name is
// not there or an on-demand entry can no longer be read from the file.
const uint8_t* FindResourceEntry(ResourcePack& pack, const std::u16string& name, uint32_t* size);

// Drops the buffer of the first on-demand entry of that name; the next lookup
// reads the file again. Entries read at open stay.
void ReleaseResourceEntry(ResourcePack& pack, const std::u16string& name);

// Frees every entry.
void CloseResourcePack(ResourcePack& pack);

// A text entry: UTF-16LE with a NUL inside it. False (and `text` untouched)
// when the entry is missing, has an odd size or holds no NUL. The text ends at
// its first NUL and is cut to `max_units` units.
bool ReadResourceText(ResourcePack& pack, const std::u16string& name, size_t max_units, std::u16string& text);
