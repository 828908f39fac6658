#include "compiler/script_files.h"

#include "platform/files.h"
#include "platform/fs.h"

std::u16string JoinScriptFolder(const VehicleCompiler& c, const std::u16string& name) {
  if (name.empty() || FsIsAbsolute(name)) return {};
  std::u16string joined = c.script_folder + name;
  if (joined.size() > kMaxPathUnits) return {};
  return joined;
}

bool ReadScriptFile(const VehicleCompiler& c, const std::u16string& name, std::vector<uint8_t>& out) {
  if (name.empty()) return false;
  if (FsIsAbsolute(name)) return ReadWholeFile(name, out);
  std::u16string joined = JoinScriptFolder(c, name);
  return !joined.empty() && ReadWholeFile(joined, out);
}

bool ReadSharedScriptFile(const VehicleCompiler& c, const std::u16string& name, std::vector<uint8_t>& out) {
  if (name.empty()) return false;
  const std::u16string path = FsIsAbsolute(name) ? name : JoinScriptFolder(c, name);
  return !path.empty() && FsReadSharedFile(path, out) && !out.empty();
}
