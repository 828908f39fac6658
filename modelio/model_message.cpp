// The reader's own message lines, kept apart from the compiler's log until
// the compiler copies them.
#include <algorithm>
#include <string>

#include "modelio/obj_model.h"

namespace {

void AppendBounded(ObjModel& model, const char16_t* text, size_t length) {
  std::u16string* target = model.message_text;
  if (!target || model.message_capacity == 0) return;
  size_t limit = model.message_capacity - 1;  // room for a terminator, as a fixed buffer has
  if (target->size() >= limit) return;
  target->append(text, std::min(length, limit - target->size()));
}

}  // namespace

int AppendModelMessageV(ObjModel& model, int kind, const char16_t* format, const FormatArg* args,
                        size_t count) {
  const std::u16string message = FormatText(format, args, count);
  const int n = static_cast<int>(message.size());
  if (n == 0) return 0;
  if (kind == kModelMessageWarning) {
    ++model.warning_count;
    AppendBounded(model, u"WARNING : ", 10);
  } else if (kind == kModelMessageError) {
    ++model.error_count;
    AppendBounded(model, u"ERROR : ", 8);
  }
  AppendBounded(model, message.data(), message.size());
  return n;
}
