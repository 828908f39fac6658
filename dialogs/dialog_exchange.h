// Moves one dialog's values between the project and its controls, in either
// direction, with one description per dialog. Reading stops nothing: it
// stores what is good into the record it is given (a copy the caller throws
// away on a problem) and keeps the first problem for the message.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/dialog_controls.h"
#include "dialogs/dialog_lists.h"
#include "project/file_checks.h"
#include "project/vehicle_project.h"

enum class ExchangeDirection { kShow, kRead };

// printf's "%W.Df".
struct FloatFormat {
  int width;
  int decimals;
};
inline constexpr FloatFormat kPlainFloat{0, 6};  // "%f"

// A checked image or sound as typed; its setter runs once every number of
// the dialog is good.
struct PendingFile {
  const FileField* field;
  std::u16string path;
};

class DialogExchange {
 public:
  DialogExchange(DialogControls& controls, ExchangeDirection direction)
      : controls_(controls), direction_(direction) {}

  bool Showing() const { return direction_ == ExchangeDirection::kShow; }

  // A name or description: one longer than the field, or with a character
  // the vehicle script cannot carry, is a problem, never cut or changed.
  template <size_t N>
  void Text(int id, FixedText<N>& field, const char16_t* label) {
    if (Showing()) {
      controls_.SetText(id, field.view(), N - 1);
      return;
    }
    std::u16string text;
    if (ReadText(id, label, N - 1, text)) field.Set(text);
  }
  // A file or folder name: one longer than the field, or with a character
  // the vehicle script cannot carry, is a problem, never cut into the name
  // of another file.
  void Path(int id, PathText& field, const char16_t* label);
  // The output folder, stored without its trailing separator.
  void OutputFolder(int id, VehicleProject& p, const char16_t* label);
  // An image or sound stored through its checking setter after the numbers.
  void CheckedFile(int id, VehicleProject& p, const FileField& field);
  void Int(int id, int32_t& field, int32_t low, int32_t high, const char16_t* label);
  // A position or size: a number that does not read, or whose magnitude no
  // vehicle can have, is a problem.
  void Float(int id, float& field, FloatFormat format, const char16_t* label);
  // A check box; `checked_means_off` for a box that shows the flag's opposite.
  void Flag(int id, int32_t& flag, bool checked_means_off = false);
  // A drop-down list; nothing selected keeps the stored value.
  void Choice(int id, const ChoiceList& list, int32_t& value);

  // A problem found by the dialog itself across controls; the first one
  // counts.
  void Refuse(int id, std::u16string message) { Problem(id, std::move(message)); }

  bool Failed() const { return problem_control_ != 0; }
  int ProblemControl() const { return problem_control_; }
  const std::u16string& ProblemMessage() const { return problem_message_; }
  const std::vector<PendingFile>& Files() const { return files_; }

 private:
  void Problem(int id, std::u16string message);
  // False, with the problem noted, for a character the script cannot carry.
  bool Scriptable(int id, const char16_t* label, const std::u16string& text);
  bool ReadText(int id, const char16_t* label, size_t longest, std::u16string& text);
  bool ReadPath(int id, const char16_t* label, std::u16string& text);

  DialogControls& controls_;
  ExchangeDirection direction_;
  int problem_control_ = 0;
  std::u16string problem_message_;
  std::vector<PendingFile> files_;
};
