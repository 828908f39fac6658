#include "app/registry_settings.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr wchar_t kKeyPath[] = L"Software\\O.RVELL\\APP\\zek5railwick";

int WriteValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  wchar_t key_class[] = L"dword";
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, key_class, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return 0;
  }
  LONG result = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? 1 : 0;
}

}  // namespace

const wchar_t* RegistryKeyPath() {
  return kKeyPath;
}

int ReadWorkshopName(wchar_t (&buffer)[kWorkshopNameUnits]) {
  buffer[0] = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
  wchar_t value[kWorkshopNameUnits + 1] = {};
  DWORD type = 0;
  DWORD size = sizeof(buffer);
  LONG result = RegQueryValueExW(key, L"MAKER", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return 0;
  // A value stored without its NUL, or longer than the field, is cut to fit.
  size_t units = size / sizeof(wchar_t);
  if (units > kWorkshopNameUnits - 1) units = kWorkshopNameUnits - 1;
  value[units] = 0;
  wcsncpy(buffer, value, kWorkshopNameUnits - 1);
  buffer[kWorkshopNameUnits - 1] = 0;
  return 1;
}

int WriteWorkshopName(const wchar_t* text) {
  size_t length = wcsnlen(text, kWorkshopNameUnits - 1);
  wchar_t value[kWorkshopNameUnits] = {};
  wmemcpy(value, text, length);
  return WriteValue(L"MAKER", REG_SZ, value, static_cast<DWORD>((length + 1) * sizeof(wchar_t)));
}

int WriteRegistryDword(const wchar_t* value_name, DWORD value) {
  return WriteValue(value_name, REG_DWORD, &value, sizeof(value));
}

DWORD ReadRegistryDword(const wchar_t* value_name, DWORD fallback) {
  DWORD value = 0, type = 0, size = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, kKeyPath, value_name, RRF_RT_ANY, &type, &value, &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value))
    return fallback;
  return value;
}

HWND ReadPrimaryWindow() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof(value);
  LONG result =
      RegQueryValueExW(key, L"PrimaryWindow", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return nullptr;
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(value)));
}

std::vector<std::u16string> ReadRecentProjects() {
  std::vector<std::u16string> paths;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return paths;
  DWORD type = 0, size = 0;
  std::vector<wchar_t> value;
  if (RegQueryValueExW(key, L"RecentProjects", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_MULTI_SZ) {
    value.resize(size / sizeof(wchar_t) + 2, L'\0');
    if (RegQueryValueExW(key, L"RecentProjects", nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
      value.clear();
  }
  RegCloseKey(key);
  // Names end at each NUL; an empty name ends the list.
  for (size_t at = 0; at < value.size() && value[at] != 0;) {
    const size_t end = std::find(value.begin() + at, value.end(), L'\0') - value.begin();
    paths.emplace_back(value.begin() + at, value.begin() + end);
    at = end + 1;
  }
  return paths;
}

int WriteRecentProjects(const std::vector<std::u16string>& paths) {
  std::vector<wchar_t> value;
  for (const std::u16string& path : paths) {
    if (path.empty()) continue;
    value.insert(value.end(), path.begin(), path.end());
    value.push_back(L'\0');
  }
  value.push_back(L'\0');
  return WriteValue(L"RecentProjects", REG_MULTI_SZ, value.data(), static_cast<DWORD>(value.size() * sizeof(wchar_t)));
}
