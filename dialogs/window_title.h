// The main window's caption: which project is open and whether it has
// unsaved changes.
#pragma once
#include <string>

inline constexpr char16_t kProgramTitle[] = u"ZEK RAILWICK";
inline constexpr char16_t kUntitledProject[] = u"無題";
// Put before the project's name while it has unsaved changes.
inline constexpr char16_t kUnsavedMark[] = u"* ";

// "rw101.xml - ZEK RAILWICK": the file name of `path` when the project has
// a file, else "無題"; marked "* " in front while `changed`.
std::u16string MainWindowTitle(const std::u16string& path, bool has_file, bool changed);
