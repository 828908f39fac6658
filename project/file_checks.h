// The checks a referenced image or sound passes before its path is stored,
// and the setters that apply them.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "project/vehicle_project.h"

enum class FileKind { kMainTexture, kSideView, kSubTexture, kWave };
enum class FileCheck { kOk, kUnreadable, kWrongFormat };

// A project field that names a checked file.
struct FileField {
  const char16_t* key;               // key in the project file
  PathText VehicleProject::*member;  // the field
  FileKind kind;
  const char16_t* label;    // the field's name as the dialogs show it
  const char16_t* refused;  // the dialog's message when the setter refuses the file
  const char16_t* command;  // script command of a sound; null for images
};

// maintex, sideview, subtex, in the order of the "body" section.
extern const FileField kImageFields[3];
// The ten sounds in the order of the "waveset" section and the script.
extern const FileField kSoundFields[10];

// Checks whole-file contents. Never reads past the data.
FileCheck CheckFileData(FileKind kind, const std::vector<uint8_t>& data);

// An empty path clears the field. Otherwise the path (cut to the field) is
// stored as given, but only when its file (a relative path found from the
// project's folder) can be read and passes the check of the field's kind;
// `why`, when given, says what went wrong. False when nothing was stored.
bool SetFileField(VehicleProject& p, const FileField& field, std::u16string_view path,
                  FileCheck* why = nullptr);

bool SetMainTexture(VehicleProject& p, std::u16string_view path);
bool SetSideView(VehicleProject& p, std::u16string_view path);
bool SetSubTexture(VehicleProject& p, std::u16string_view path);
