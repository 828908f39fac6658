// Values no vehicle can have. The data dialogs refuse them at OK; for a
// project read from a file they are warnings, and Make data still makes it,
// so projects stored earlier keep building.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "project/vehicle_project.h"

struct ProjectReadReport;

// Positions and sizes beyond this magnitude describe no vehicle.
constexpr float kLargestPlausibleValue = 100000.0f;

enum class ValueProblem {
  kTooLong,       // the reader cut a text that did not fit its field
  kUnscriptable,  // a character the vehicle script cannot carry
  kOutOfRange,    // a number that is not finite or exceeds kLargestPlausibleValue
  kWheelRadius,   // a wheel with a model and a radius of 0 or below
  kReplaced,      // the reader replaced a number outside its range
};

struct ValueFinding {
  std::u16string key;      // "name", "tire1 TireRadius", "truck2 tirein1 tirePOSX", "modelHM3"
  std::u16string label;    // the field as the dialogs name it: "車輪1 半径"
  std::u16string message;  // "車輪1 半径：..." as a dialog would show it
  ValueProblem problem;
};

// Every finding of the project, in the order of the project file. `read`,
// when given, adds first the texts the reader had to cut.
std::vector<ValueFinding> FindImpossibleValues(const VehicleProject& p, const ProjectReadReport* read = nullptr);

// The rules one at a time, for the dialogs.
bool IsPlausibleValue(float value);  // finite and within kLargestPlausibleValue
bool HasImpossibleRadius(const TireEntry& tire);
std::u16string OutOfRangeMessage(std::u16string_view label);
std::u16string WheelRadiusMessage(std::u16string_view label);
// A text longer than `longest` units, as the data file counts them.
std::u16string TextTooLongMessage(std::u16string_view label, size_t longest);
std::u16string UnscriptableMessage(std::u16string_view label, std::u16string_view text, size_t position);

// Where a field lies, for naming it: the key and label prefixes of its
// section ("tire1 ", "車輪1 "); empty for a section that occurs once.
struct FieldScope {
  std::u16string key;
  std::u16string label;
};
// `section` as the project file names it, `number` counting from 1 (0 for
// sections that occur once). "tirein" is given the scope of its truck.
FieldScope SectionScope(std::u16string_view section, int number, const FieldScope& outer = {});
// The finding of a text the reader cut to `longest` units.
ValueFinding TooLongFinding(const FieldScope& scope, std::u16string_view key, size_t longest);
// The finding of a number the reader did not take (`written` as in the file)
// and the value the field kept instead.
ValueFinding ReplacedFinding(const FieldScope& scope, std::u16string_view key, std::u16string_view written,
                             std::u16string_view kept);
