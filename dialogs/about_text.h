// The text of the About box, from the program's own version record.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct VersionTranslation {
  uint16_t language;
  uint16_t code_page;
};

// The translations tried for a version string, in order: Japanese in
// UTF-16 first, then every code page with every language of the list.
const std::vector<VersionTranslation>& VersionLookupOrder();
// "\StringFileInfo\%04x%04x\%s".
std::u16string VersionStringKey(VersionTranslation t, const std::u16string& name);
// "%s\r\nVersion %s\r\n%s\r\n", at most 2,048 characters.
std::u16string AboutText(const std::u16string& product, const std::u16string& version,
                         const std::u16string& copyright);
