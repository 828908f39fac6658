// Registry settings against the real per-user key; whatever the key held
// before is put back at the end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/registry_settings.h"

namespace {

class RegistrySettingsTest : public ::testing::Test {
 protected:
  struct Saved {
    const wchar_t* name;
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
  };
  std::vector<Saved> saved_ = {Saved{L"MAKER", false, 0, {}}, Saved{L"PrimaryWindow", false, 0, {}}};

  void SetUp() override {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    for (Saved& s : saved_) {
      DWORD size = 0;
      if (RegQueryValueExW(key, s.name, nullptr, &s.type, nullptr, &size) != ERROR_SUCCESS) continue;
      s.data.resize(size);
      s.present = RegQueryValueExW(key, s.name, nullptr, &s.type, s.data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
  }
  void TearDown() override {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    for (const Saved& s : saved_) {
      if (s.present) {
        RegSetValueExW(key, s.name, 0, s.type, s.data.data(), static_cast<DWORD>(s.data.size()));
      } else {
        RegDeleteValueW(key, s.name);
      }
    }
    RegCloseKey(key);
  }
  static void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
  }
  static void Delete(const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name);
    RegCloseKey(key);
  }
};

}  // namespace

TEST_F(RegistrySettingsTest, WorkshopNameRoundTripAndHostileValues) {
  wchar_t name[kWorkshopNameUnits];
  // 63 characters, Japanese included, read back whole.
  std::wstring full = L"\u5DE5\u623F";
  while (full.size() < 63) full.push_back(L'a' + full.size() % 26);
  ASSERT_EQ(1, WriteWorkshopName(full.c_str()));
  EXPECT_EQ(1, ReadWorkshopName(name));
  EXPECT_EQ(full, std::wstring(name));
  // The stored value carries its NUL: 64 units.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_READ, &key));
  DWORD type = 0, size = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"MAKER", nullptr, &type, nullptr, &size));
  RegCloseKey(key);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(128u, size);

  // A longer name is cut to 63 characters when written.
  ASSERT_EQ(1, WriteWorkshopName((full + L"xyz").c_str()));
  EXPECT_EQ(1, ReadWorkshopName(name));
  EXPECT_EQ(full, std::wstring(name));

  // A value of the wrong type reads as empty and fails.
  DWORD number = 7;
  SetRaw(L"MAKER", REG_DWORD, &number, sizeof(number));
  name[0] = L'x';
  EXPECT_EQ(0, ReadWorkshopName(name));
  EXPECT_EQ(L'\0', name[0]);

  // A string stored without its NUL is terminated on reading.
  const wchar_t raw[] = {L'A', L'B', L'C'};
  SetRaw(L"MAKER", REG_SZ, raw, sizeof(raw));
  EXPECT_EQ(1, ReadWorkshopName(name));
  EXPECT_EQ(std::wstring(L"ABC"), std::wstring(name));

  // A stored value longer than the field fails rather than overflowing.
  std::wstring huge(300, L'z');
  SetRaw(L"MAKER", REG_SZ, huge.c_str(), static_cast<DWORD>((huge.size() + 1) * sizeof(wchar_t)));
  EXPECT_EQ(0, ReadWorkshopName(name));
  EXPECT_EQ(L'\0', name[0]);

  // A missing value: empty, result 0.
  Delete(L"MAKER");
  EXPECT_EQ(0, ReadWorkshopName(name));
  EXPECT_EQ(L'\0', name[0]);
}

TEST_F(RegistrySettingsTest, PrimaryWindowIsSignExtendedAndTypeChecked) {
  ASSERT_EQ(1, WriteRegistryDword(L"PrimaryWindow", 0x00012345));
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x00012345)), ReadPrimaryWindow());
  ASSERT_EQ(1, WriteRegistryDword(L"PrimaryWindow", 0xFFFF1234u));
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(-0xEDCC)), ReadPrimaryWindow());
  const wchar_t text[] = L"12345";
  SetRaw(L"PrimaryWindow", REG_SZ, text, sizeof(text));
  EXPECT_EQ(nullptr, ReadPrimaryWindow());
  Delete(L"PrimaryWindow");
  EXPECT_EQ(nullptr, ReadPrimaryWindow());
}
