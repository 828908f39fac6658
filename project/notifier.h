// How the core tells the user about a problem he must fix. The program
// shows a message box with the error icon; the command-line tool prints the
// text on stderr; tests record the calls.
#pragma once
#include <string>

// Caption of every check message.
inline constexpr char16_t kCheckCaption[] = u"検証";

class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void ShowError(const std::u16string& caption, const std::u16string& message) = 0;
};
