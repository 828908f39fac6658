// Shared set-up of the rendering tests under Wine: COM and GDI+ for the whole
// run, a hidden window with a device per test suite, and small readers of
// captured pixels.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/renderer_win.h"

// A popup window that is never shown, with a client area of the given size.
HWND CreateHiddenWindow(int width, int height);

// 32-bit pixels (A8R8G8B8 or X8R8G8B8), row by row.
struct Pixels {
  UINT width = 0, height = 0;
  std::vector<uint32_t> argb;
  uint32_t At(UINT x, UINT y) const { return argb[size_t{y} * width + x]; }
  size_t CountNotBlack() const;
};
// The frame just drawn, from the back buffer; empty pixels when it cannot be read.
Pixels ReadBackBuffer(CDXRenderer& renderer);

// A path in the source tree (forward slashes kept; the file functions take both).
std::u16string SourceFile(const char* relative);
// A fresh scratch folder for this process, with a trailing separator.
std::u16string ScratchFolder();
std::vector<uint8_t> ReadBytes(const std::u16string& path);

// Starts a frame on black, unlit and untextured: primitives show their
// vertex colours.
void BeginPlainFrame(CDXRenderer& renderer);
// Ends the frame, reads it back and presents it; lighting is on again.
Pixels EndFrame(CDXRenderer& renderer);


// One device on a hidden 320 x 240 window for every test of a suite.
class DeviceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  static HWND window_;
  static CDXRenderer* renderer_;
};
