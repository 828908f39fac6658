// The wide environment, so a name in any script reaches us whole.
#include <windows.h>

#include "cli/cli.h"
#include "platform/sjis.h"

std::string CliEnvironment(const char* name) {
  std::wstring wide_name(name, name + strlen(name));
  DWORD n = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (n == 0) return "";
  std::wstring value(n, L'\0');
  n = GetEnvironmentVariableW(wide_name.c_str(), value.data(), n);
  value.resize(n);
  return Utf16ToUtf8(std::u16string(value.begin(), value.end()));
}
