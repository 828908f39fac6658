// The project file: a small UTF-8 XML file that holds every field of the
// project except the workshop name.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "project/file_checks.h"
#include "project/value_findings.h"
#include "project/vehicle_project.h"

// The whole file as the writer lays it out (CR LF line ends).
std::string FormatProjectFile(const VehicleProject& p);

// Writes the file beside its old version and replaces that only once every
// byte is written. False on failure, which the old file survives.
// Paths are written as StorePathsFor keeps them for the file's folder
// (`path` absolute; a relative `path` writes them as they stand).
bool WriteProjectFile(const VehicleProject& p, const std::u16string& path);

// A referenced image or sound the reader left out.
struct DroppedFile {
  const FileField* field;
  std::u16string path;
  FileCheck why;
};

struct ProjectReadReport {
  bool unreadable = false;   // the file could not be read
  bool not_project = false;  // read, but no project file
  std::vector<DroppedFile> dropped;
  // Texts longer than their field (stored cut) and numbers out of their
  // range (replaced), in the order of the file.
  std::vector<ValueFinding> read_findings;
};

// Resets the project and fills it from the file. The file may be UTF-8 or
// declare Shift_JIS; it may also lack the declaration when its root element
// is the project's. A file that cannot be read, declares another encoding,
// lacks the root element or has broken markup gives false and leaves
// the project untouched. A referenced image or
// sound that is missing or fails its check leaves only that field empty;
// `report` lists them. The project's folder becomes the file's folder
// (`path` is absolute, so the folder is too); its relative paths resolve there.
bool ReadProjectFile(VehicleProject& p, const std::u16string& path, ProjectReadReport* report = nullptr);
// The same on text already in memory; the files it names are found from the
// project's folder as it stands.
bool ReadProjectText(VehicleProject& p, const std::u16string& text, ProjectReadReport* report = nullptr);

// One message naming every dropped key and its file.
std::u16string DroppedFilesMessage(const std::vector<DroppedFile>& dropped);
