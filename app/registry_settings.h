// The values the tool keeps between runs under one per-user key: the
// workshop name, the running main window for the single-instance check, and
// the main window's last outer size. Each call opens and closes the key.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

constexpr size_t kWorkshopNameUnits = 64;  // 63 characters and the NUL

// The key path under HKEY_CURRENT_USER.
const wchar_t* RegistryKeyPath();

// 1 and the stored name, or 1 and an empty name when the key is missing; 0
// and an empty name when the value is missing or not a REG_SZ. The buffer is
// always terminated. Callers decide by its first character.
int ReadWorkshopName(wchar_t (&buffer)[kWorkshopNameUnits]);
// 1 when written, 0 when the registry refused it.
int WriteWorkshopName(const wchar_t* text);
int WriteRegistryDword(const wchar_t* value_name, DWORD value);
// The stored REG_DWORD, or `fallback` when it is missing or of another type.
DWORD ReadRegistryDword(const wchar_t* value_name, DWORD fallback);
// The stored main window, or null. The handle is kept as a 32-bit number and
// sign-extended back, as the system does for window handles.
HWND ReadPrimaryWindow();

// The recently used project files, most recent first ("RecentProjects", a
// REG_MULTI_SZ); empty when none are stored.
std::vector<std::u16string> ReadRecentProjects();
// 1 when written, 0 when the registry refused it.
int WriteRecentProjects(const std::vector<std::u16string>& paths);
