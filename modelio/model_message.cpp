// The reader's own message lines, kept apart from the compiler's log until
// the compiler copies them.
#include <algorithm>
#include <string>

#include "modelio/obj_model.h"

namespace {

constexpr size_t kFormatUnits = 2048;  // one message, terminator included

// Appends the decimal form of `value`; false when it does not fit.
bool PutNumber(char16_t* out, size_t& n, int64_t value) {
  char16_t digits[24];
  size_t count = 0;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits[count++] = u'-';
  if (n + count >= kFormatUnits) return false;
  while (count > 0) out[n++] = digits[--count];
  return true;
}

// Formats into `out`; -1 when the text needs more than 2,047 units.
int Format(char16_t* out, const char16_t* format, const ModelMessageArg* args, size_t count) {
  size_t n = 0;
  size_t next = 0;
  for (const char16_t* f = format; *f; ++f) {
    char16_t c = *f;
    if (c == u'%' && f[1] != 0) {
      char16_t conversion = *++f;
      if (conversion == u'%') {
        c = u'%';
      } else {
        const ModelMessageArg& arg = next < count ? args[next] : args[count];
        ++next;
        if (conversion == u's') {
          const char16_t* t = arg.text ? arg.text : u"";
          for (; *t; ++t) {
            if (n + 1 >= kFormatUnits) return -1;
            out[n++] = *t;
          }
        } else if (conversion == u'u') {
          if (!PutNumber(out, n, static_cast<int64_t>(static_cast<uint32_t>(arg.number)))) return -1;
        } else if (!PutNumber(out, n, arg.number)) {
          return -1;
        }
        continue;
      }
    }
    if (n + 1 >= kFormatUnits) return -1;
    out[n++] = c;
  }
  out[n] = 0;
  return static_cast<int>(n);
}

void AppendBounded(ObjModel& model, const char16_t* text, size_t length) {
  std::u16string* target = model.message_text;
  if (!target || model.message_capacity == 0) return;
  size_t limit = model.message_capacity - 1;  // room for a terminator, as a fixed buffer has
  if (target->size() >= limit) return;
  target->append(text, std::min(length, limit - target->size()));
}

}  // namespace

int AppendModelMessageV(ObjModel& model, int kind, const char16_t* format, const ModelMessageArg* args,
                        size_t count) {
  char16_t buffer[kFormatUnits];
  int n = Format(buffer, format, args, count);
  if (n <= 0) return n;
  if (kind == kModelMessageWarning) {
    ++model.warning_count;
    AppendBounded(model, u"WARNING : ", 10);
  } else if (kind == kModelMessageError) {
    ++model.error_count;
    AppendBounded(model, u"ERROR : ", 8);
  }
  AppendBounded(model, buffer, static_cast<size_t>(n));
  return n;
}
