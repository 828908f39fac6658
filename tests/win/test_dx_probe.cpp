// The DirectX probe on the running system, and the OS classification.
#include <gtest/gtest.h>

#include "app/startup_checks.h"
#include "probes/dx_probe.h"

TEST(DxProbe, FindsDirectX9ThroughBothProbes) {
  // The diagnostics service answers with the structure's own size (24 bytes
  // in a 64-bit program); a wrong size makes it refuse.
  DirectXVersion diag;
  ASSERT_EQ(S_OK, ProbeDirectXViaDxDiag(&diag));
  EXPECT_GE(PackDirectXVersion(diag), 0x00090000u);

  DirectXVersion files;
  ASSERT_EQ(S_OK, ProbeDirectXViaFiles(&files));
  EXPECT_GE(PackDirectXVersion(files), 0x00090000u);

  uint32_t packed = 1;
  ASSERT_EQ(S_OK, GetDirectXVersion(&packed));
  EXPECT_EQ(PackDirectXVersion(diag), packed);
}

TEST(DxProbe, ReadFileVersionErrors) {
  FileVersion v;
  EXPECT_EQ(E_INVALIDARG, ReadFileVersion(nullptr, &v));
  EXPECT_EQ(E_INVALIDARG, ReadFileVersion(L"x", nullptr));
  EXPECT_EQ(E_FAIL, ReadFileVersion(L"C:\\no\\such\\file.dll", &v));
  wchar_t system[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  std::wstring d3d9 = std::wstring(system) + L"\\d3d9.dll";
  ASSERT_EQ(S_OK, ReadFileVersion(d3d9.c_str(), &v));
  EXPECT_NE(0u, v.ms);
}

// This system's own class and colour depth: the program starts only when
// they suffice, which tools/wine-e2e.sh sees it do.
TEST(StartupChecks, OsClasses) {
  EXPECT_EQ(0, ClassifyOs(VER_PLATFORM_WIN32s, 5));
  EXPECT_EQ(3, ClassifyOs(VER_PLATFORM_WIN32_WINDOWS, 4));
  EXPECT_EQ(0, ClassifyOs(VER_PLATFORM_WIN32_WINDOWS, 3));
  EXPECT_EQ(1, ClassifyOs(VER_PLATFORM_WIN32_NT, 3));
  EXPECT_EQ(2, ClassifyOs(VER_PLATFORM_WIN32_NT, 4));
  EXPECT_EQ(5, ClassifyOs(VER_PLATFORM_WIN32_NT, 5));
  EXPECT_EQ(5, ClassifyOs(VER_PLATFORM_WIN32_NT, 10));
  EXPECT_EQ(0, ClassifyOs(7, 10));
}
