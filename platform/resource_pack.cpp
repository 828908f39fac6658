#include "platform/resource_pack.h"

#include <algorithm>

#include "platform/byte_order.h"
#include "platform/fs.h"

namespace {

// What an entry of size 0 returns, so that it is told apart from a miss.
const uint8_t kNoBytes[1] = {0};

bool NameEquals(const char16_t* stored, const std::u16string& name) {
  if (name.size() >= kResourceNameUnits) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (stored[i] != name[i] || name[i] == 0) return false;
  }
  return stored[name.size()] == 0;
}

}  // namespace

void SetResourcePackName(ResourcePack& pack, const std::u16string& name) {
  size_t n = std::min(name.size(), kResourcePackNameUnits - 1);
  std::fill(std::begin(pack.name), std::end(pack.name), u'\0');
  std::copy(name.begin(), name.begin() + n, pack.name);
}

bool ParseResourcePack(const uint8_t* bytes, size_t size, std::vector<ResourcePackEntry>& entries) {
  entries.clear();
  if (size < 2 || LittleEndian16(bytes) != kResourcePackMagic) return false;
  // Offsets are kept as 32-bit numbers, so a larger file cannot be a pack.
  if (static_cast<uint64_t>(size) > 0xFFFFFFFFull) return false;
  std::vector<ResourcePackEntry> parsed;
  size_t pos = 2;
  while (pos < size) {
    if (size - pos < 2) return false;  // half a tag
    if (LittleEndian16(bytes + pos) != kResourcePackEntryTag) break;
    if (size - pos < kResourceEntryHeaderBytes) return false;
    const uint8_t* head = bytes + pos + 2;
    ResourcePackEntry entry;
    for (size_t i = 0; i < kResourceNameUnits; ++i)
      entry.name[i] = static_cast<char16_t>(LittleEndian16(head + 2 * i));
    entry.name[kResourceNameUnits - 1] = 0;
    entry.load_flag = LittleEndian32(head + 2 * kResourceNameUnits);
    entry.size = LittleEndian32(head + 2 * kResourceNameUnits + 4);
    pos += kResourceEntryHeaderBytes;
    if (entry.size > size - pos) return false;
    entry.offset = static_cast<uint32_t>(pos);
    if (entry.load_flag == 0) entry.data.assign(bytes + pos, bytes + pos + entry.size);
    pos += entry.size;
    parsed.push_back(std::move(entry));
  }
  entries = std::move(parsed);
  return true;
}

bool OpenResourcePackFile(ResourcePack& pack, const std::u16string& path) {
  CloseResourcePack(pack);
  std::vector<uint8_t> bytes;
  if (!FsReadFile(path, bytes) || !ParseResourcePack(bytes.data(), bytes.size(), pack.entries)) return false;
  pack.path = path;
  return true;
}

const uint8_t* FindResourceEntry(ResourcePack& pack, const std::u16string& name, uint32_t* size) {
  for (auto it = pack.entries.rbegin(); it != pack.entries.rend(); ++it) {
    ResourcePackEntry& entry = *it;
    if (!NameEquals(entry.name, name)) continue;
    if (entry.load_flag == 0) {
      *size = entry.size;
      return entry.data.empty() ? kNoBytes : entry.data.data();
    }
    if (!entry.on_demand_loaded) {
      // The file is not held open between lookups; it may have changed, so
      // the entry's range is checked against it again.
      std::vector<uint8_t> bytes;
      if (!FsReadFile(pack.path, bytes)) return nullptr;
      if (entry.offset > bytes.size() || entry.size > bytes.size() - entry.offset) return nullptr;
      entry.on_demand.assign(bytes.begin() + entry.offset, bytes.begin() + entry.offset + entry.size);
      entry.on_demand_loaded = true;
    }
    *size = entry.size;
    return entry.on_demand.empty() ? kNoBytes : entry.on_demand.data();
  }
  return nullptr;
}

void ReleaseResourceEntry(ResourcePack& pack, const std::u16string& name) {
  for (auto it = pack.entries.rbegin(); it != pack.entries.rend(); ++it) {
    if (it->load_flag == 0 || !NameEquals(it->name, name)) continue;
    std::vector<uint8_t>().swap(it->on_demand);
    it->on_demand_loaded = false;
    return;
  }
}

void CloseResourcePack(ResourcePack& pack) {
  pack.entries.clear();
  pack.entries.shrink_to_fit();
}

bool ReadResourceText(ResourcePack& pack, const std::u16string& name, size_t max_units,
                      std::u16string& text) {
  uint32_t size = 0;
  const uint8_t* data = FindResourceEntry(pack, name, &size);
  if (!data || size % 2 != 0) return false;
  size_t units = size / 2;
  size_t length = 0;
  while (length < units && LittleEndian16(data + 2 * length) != 0) ++length;
  if (length == units) return false;  // no terminator inside the entry
  std::u16string result;
  for (size_t i = 0; i < length && i < max_units; ++i)
    result.push_back(static_cast<char16_t>(LittleEndian16(data + 2 * i)));
  text = std::move(result);
  return true;
}
