// The parts of the menu's Save and Open that need no window: the file name
// proposal, writing and reading with their messages.
#pragma once
#include <cstdint>
#include <string>

#include "project/notifier.h"
#include "project/vehicle_project.h"

inline constexpr char16_t kNoTypeNumberForSaveMessage[] =
    u"形式番号が空欄です。\n形式番号は識別のため入力が必要です。";

// First step of Save. With no current file yet, the type number made safe
// as a file name becomes the current file path; without a type number the
// user is told and the result is false (stop).
bool ProposeProjectPath(const VehicleProject& p, std::u16string& current_path, Notifier& notifier);

// Writes the project; a failure is shown and leaves any old file as it was.
bool SaveProject(const VehicleProject& p, const std::u16string& path, Notifier& notifier);

// Reads a project file. On success the path becomes the current file path
// and dropped images or sounds are listed to the user. On failure the user
// is told, and the project and the current file path stay as they were.
bool OpenProject(VehicleProject& p, const std::u16string& path, std::u16string& current_path,
                 Notifier& notifier);
