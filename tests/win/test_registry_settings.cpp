// Registry settings against the real per-user key, as stored values of
// every shape read back; whatever the key held before is put back at the end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/registry_settings.h"
#include "app/workshop_dialog.h"

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
    for (Saved& s : saved_) {
      DWORD size = 4096;
      s.data.resize(size);
      s.present = !RegGetValueW(HKEY_CURRENT_USER, RegistryKeyPath(), s.name, RRF_RT_ANY | RRF_NOEXPAND, &s.type,
                                s.data.data(), &size);
      s.data.resize(s.present ? size : 0);
    }
  }
  void TearDown() override {
    for (const Saved& s : saved_) Set(s.name, s.present ? s.type : REG_NONE, s.data.data(), s.data.size());
  }
  // REG_NONE deletes the value.
  static void Set(const wchar_t* name, DWORD type, const void* data, size_t size) {
    if (type == REG_NONE) {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, RegistryKeyPath(), name);
    } else {
      ASSERT_EQ(ERROR_SUCCESS,
                RegSetKeyValueW(HKEY_CURRENT_USER, RegistryKeyPath(), name, type, data, static_cast<DWORD>(size)));
    }
  }
};

}  // namespace

TEST_F(RegistrySettingsTest, WorkshopNameRoundTripAndHostileValues) {
  wchar_t name[kWorkshopNameUnits];
  // 63 characters, Japanese included, read back whole; a longer name is cut
  // to 63 when written. The stored value carries its NUL: 64 units.
  std::wstring full = L"\u5DE5\u623F";
  while (full.size() < 63) full.push_back(L'a' + full.size() % 26);
  for (const std::wstring& written : {full, full + L"xyz"}) {
    ASSERT_EQ(1, WriteWorkshopName(written.c_str()));
    EXPECT_EQ(1, ReadWorkshopName(name));
    EXPECT_EQ(full, std::wstring(name));
  }
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, RegistryKeyPath(), 0, KEY_READ, &key));
  DWORD type = 0, size = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"MAKER", nullptr, &type, nullptr, &size));
  RegCloseKey(key);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(128u, size);

  // Stored values of every shape, as both readers take them.
  const DWORD number = 7;
  const std::wstring longest(63, L'名'), too_long(300, L'z'), no_nul = L"ABC";
  const struct {
    DWORD type;
    const void* data;
    size_t size;
    int read;  // ReadWorkshopName
    StoredWorkshopName stored;
    std::wstring name;  // as read
  } cases[] = {
      {REG_DWORD, &number, sizeof number, 0, StoredWorkshopName::kUnreadable, L""},
      {REG_SZ, no_nul.data(), no_nul.size() * 2, 1, StoredWorkshopName::kFound, L"ABC"},  // terminated on reading
      {REG_SZ, longest.c_str(), longest.size() * 2 + 2, 1, StoredWorkshopName::kFound, longest},
      {REG_SZ, too_long.c_str(), too_long.size() * 2 + 2, 0, StoredWorkshopName::kUnreadable, L""},
      {REG_SZ, too_long.c_str(), 128, 1, StoredWorkshopName::kUnreadable, too_long.substr(0, 63)},  // no NUL: cut
      {REG_SZ, L"", 2, 1, StoredWorkshopName::kNone, L""},
      {REG_NONE, nullptr, 0, 0, StoredWorkshopName::kNone, L""},  // missing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    Set(L"MAKER", c.type, c.data, c.size);
    name[0] = L'x';
    EXPECT_EQ(c.read, ReadWorkshopName(name));
    EXPECT_EQ(c.read ? c.name : L"", std::wstring(name));
    wchar_t stored[64];
    EXPECT_EQ(c.stored, ReadStoredWorkshopName(stored));
    if (c.stored == StoredWorkshopName::kFound) {
      EXPECT_EQ(c.name, std::wstring(stored));
    }
  }
}

TEST_F(RegistrySettingsTest, PrimaryWindowIsSignExtendedAndTypeChecked) {
  ASSERT_EQ(1, WriteRegistryDword(L"PrimaryWindow", 0x00012345));
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x00012345)), ReadPrimaryWindow());
  ASSERT_EQ(1, WriteRegistryDword(L"PrimaryWindow", 0xFFFF1234u));
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(-0xEDCC)), ReadPrimaryWindow());
  const wchar_t text[] = L"12345";
  Set(L"PrimaryWindow", REG_SZ, text, sizeof(text));
  EXPECT_EQ(nullptr, ReadPrimaryWindow());
  Set(L"PrimaryWindow", REG_NONE, nullptr, 0);
  EXPECT_EQ(nullptr, ReadPrimaryWindow());
}
