// Environment variables as UTF-8. Windows keeps them in UTF-16, so a name
// in any script reaches the tool whole.
#include <cstdlib>

#include "cli/cli.h"
#include "platform/sjis.h"

std::string CliEnvironment(const char* name) {
#ifdef _WIN32
  std::wstring wide_name(name, name + std::char_traits<char>::length(name));
  const wchar_t* value = _wgetenv(wide_name.c_str());
  if (!value) return "";
  std::u16string text;
  for (; *value; ++value) text.push_back(static_cast<char16_t>(*value));
  return Utf16ToUtf8(text);
#else
  const char* value = std::getenv(name);
  return value ? value : "";
#endif
}
