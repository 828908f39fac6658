// What the end-to-end drivers share: finding the program's window,
// capturing its client area, pressing keys and saving pictures.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

inline constexpr wchar_t kClass[] = L"ZEK5RLWCK";
// The caption at start: no project file yet, nothing changed.
inline constexpr wchar_t kCaption[] = L"無題 - ZEK RAILWICK";

// Prints "driver: WHAT" and returns 1.
int Fail(const char* what);
HWND FindFrame();
// The client area as 32-bit BGRX rows, read from the window's device context.
bool CaptureClient(HWND window, std::vector<uint32_t>& pixels, int& width, int& height);
size_t LitPixels(const std::vector<uint32_t>& pixels);
// A key press or release as the user's keyboard makes it.
void PressKey(WORD key, bool down);
bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes);
// Any image file GDI+ reads, saved as PNG.
bool SaveAsPng(const std::wstring& image, const std::wstring& png);
// 32-bit BGRX rows saved as PNG.
bool SavePixelsAsPng(const std::vector<uint32_t>& pixels, int width, int height, const std::wstring& png);
// A window's text, each message bounded (empty when it does not answer).
std::wstring TextOf(HWND window);
// `text` as UTF-8 in the file at `path`.
bool WriteUtf8(const std::wstring& path, const std::wstring& text);
