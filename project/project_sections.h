// The keys of each project-file section and the fields they name, in
// writing order: one list that the writer and the reader share.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "project/file_checks.h"
#include "project/vehicle_project.h"

// How the reader stores a value.
enum class FieldRule {
  kAsRead,
  kOutPath,  // trailing separator removed
  kSpeed,    // kept only within 1 ... 500
  kTilt,     // kept only within 0 ... 8
  kFlag,     // stored as 0 or 1
  kFile,     // passes its file check first
};

struct FieldRef {
  const char16_t* key;
  char16_t* text = nullptr;  // text fields: units and capacity
  size_t capacity = 0;
  int32_t* integer = nullptr;
  float* real = nullptr;
  FieldRule rule = FieldRule::kAsRead;
  const FileField* file = nullptr;

  std::u16string_view Text() const;
};

using FieldList = std::vector<FieldRef>;

FieldList InfoheadFields(VehicleProject& p);
FieldList BodyFields(VehicleProject& p);
FieldList TireFields(TireEntry& t);
FieldList TruckFields(TruckEntry& t);  // without its mounts
FieldList MountFields(TireMount& m);
FieldList SubmodelFields(VehicleProject& p);  // ends with the four "modelHM"
FieldList LightsetFields(VehicleProject& p);
FieldList OptionFields(OptionSet& o);
FieldList PantographFields(PantographEntry& e);
FieldList WavesetFields(VehicleProject& p);
FieldList CabFields(CabEntry& c);
FieldList ContainerFields(ContainerSlot& s);

// Every path field naming an input file (images, sounds, models; not the
// output folder), in the order of the file.
FieldList PathFields(VehicleProject& p);
