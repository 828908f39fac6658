#include "app/resource_pack_path.h"

#include <vector>

#include "platform/fs.h"

std::u16string ResourcePackPath(const ResourcePack& pack) {
  // Long paths: grow the buffer until the module name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
  std::u16string module(buffer.begin(), buffer.end());
  std::u16string path = FsSplitPath(module).folder + u"data/" + pack.name + u".res";
  return path;
}

HRESULT OpenResourcePack(ResourcePack& pack) {
  std::u16string path = ResourcePackPath(pack);
  if (path.empty()) return E_FAIL;
  return OpenResourcePackFile(pack, path) ? S_OK : E_FAIL;
}
