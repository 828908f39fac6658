#include "platform/format.h"

namespace {

void AppendNumber(std::u16string& out, uint64_t value, unsigned base, bool upper) {
  char16_t digits[24];
  int n = 0;
  do {
    unsigned d = static_cast<unsigned>(value % base);
    digits[n++] = static_cast<char16_t>(d < 10 ? u'0' + d : (upper ? u'A' : u'a') + d - 10);
    value /= base;
  } while (value);
  while (n) out.push_back(digits[--n]);
}

void AppendArgument(std::u16string& out, char16_t conversion, const FormatArg& arg) {
  if (conversion == u's') {
    if (arg.kind == FormatArg::kText && arg.text) out += arg.text;
    return;
  }
  if (arg.kind == FormatArg::kText) return;
  const int64_t v = arg.number;
  if (conversion == u'd' && arg.kind == FormatArg::kSigned) {
    if (v < 0) out.push_back(u'-');
    AppendNumber(out, v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v), 10, false);
    return;
  }
  const bool hex = conversion == u'x' || conversion == u'X';
  AppendNumber(out, static_cast<uint32_t>(v), hex ? 16 : 10, conversion == u'X');
}

}  // namespace

std::u16string FormatText(const char16_t* format, const FormatArg* args, size_t count) {
  std::u16string message;
  size_t next = 0;
  for (const char16_t* p = format; *p; ++p) {
    if (*p != u'%' || !p[1]) {
      message.push_back(*p);
      continue;
    }
    const char16_t conversion = *++p;
    if (conversion == u'%') {
      message.push_back(u'%');
      continue;
    }
    if (next < count) AppendArgument(message, conversion, args[next]);
    ++next;
  }
  if (message.size() > kFormatMaxUnits) message.resize(kFormatMaxUnits);
  return message;
}
