// What the scene needs of the window that shows it.
#pragma once
#include <windows.h>

#include <string>

class SceneHost {
 public:
  virtual ~SceneHost() = default;
  // Frames shown per second, for the status line.
  virtual float FramesPerSecond() const = 0;
  // Where TakeScreenshot saves `file_name`; empty when there is no folder or
  // the path would be too long.
  virtual std::wstring ScreenshotPath(const wchar_t* file_name) const = 0;
  // Saves the frame just drawn (not yet presented) as `file_name`.
  virtual HRESULT TakeScreenshot(const wchar_t* file_name) = 0;
};
