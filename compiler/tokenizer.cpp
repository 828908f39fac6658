#include "compiler/tokenizer.h"

#include "compiler/commands.h"
#include "compiler/tokens.h"
#include "platform/sjis.h"

namespace {

bool IsSeparator(unsigned char b) { return b == ' ' || b == '\t' || b == '\r' || b == 0x1E || b == ','; }

// Width of the character at `i`: 2 for a lead byte followed, inside the
// text, by a valid trail byte; 1 otherwise.
size_t CharWidth(const unsigned char* p, size_t i, size_t end) {
  return IsSjisLeadByte(p[i]) && i + 1 < end && IsSjisTrailByte(p[i + 1]) ? 2 : 1;
}

// Logs once per line when the line holds bytes the code table cannot read.
void NoteUndecodable(VehicleCompiler& c, const char* line, size_t size, int number) {
  size_t bad = 0;
  SjisToUtf16(line, size, &bad);
  if (bad) LogInfo(c, u"Shift-JISとして読めない文字があります (%d行目)\r\n", number);
}

}  // namespace

bool ParseScript(VehicleCompiler& c, char* text, size_t length, const std::u16string& file) {
  auto* p = reinterpret_cast<unsigned char*>(text);
  size_t end = 0;
  while (end < length && p[end] != 0) ++end;  // the text stops at its first NUL
  // Counted before the line ends are cut out: the author learns where.
  int nul_line = 0;
  if (end < length) {
    nul_line = 1;
    for (size_t i = 0; i < end; ++i) nul_line += p[i] == '\n';
  }

  const std::u16string* outer_file = c.log->current_file;
  const int outer_line = c.log->current_line;
  c.log->current_file = &file;

  size_t pos = 0;
  int line_number = 0;
  bool unclosed = false;
  while (pos < end && !unclosed) {
    ++line_number;
    c.log->current_line = line_number;
    for (char*& t : c.tokens) t = nullptr;
    size_t line_start = pos;
    int count = 0;
    bool line_done = false;
    while (!line_done) {
      while (pos < end && IsSeparator(p[pos])) ++pos;
      if (pos >= end) break;
      unsigned char b = p[pos];
      if (b == '\n') {
        ++pos;
        break;
      }
      if (b == '/') {  // a comment runs to the end of the line
        while (pos < end && p[pos] != '\n') ++pos;
        if (pos < end) ++pos;
        break;
      }
      char* token;
      if (b == '"') {
        size_t i = pos + 1;
        while (i < end && p[i] != '"' && p[i] >= 0x20) i += CharWidth(p, i, end);
        if (i >= end || p[i] != '"') {
          unclosed = true;
          break;
        }
        token = text + pos + 1;
        p[i] = 0;
        pos = i + 1;  // the next token may start right after the quote
      } else {
        size_t i = pos;
        while (i < end && p[i] > 0x20 && p[i] != ',') i += CharWidth(p, i, end);
        token = text + pos;
        if (i < end) {
          if (p[i] == '\n') line_done = true;
          p[i] = 0;
          pos = i + 1;
        } else {
          pos = end;  // the spare byte after the text terminates the token
        }
      }
      if (count < kMaxTokens) c.tokens[count] = token;  // surplus tokens are dropped
      ++count;
    }
    if (unclosed) break;
    NoteUndecodable(c, text + line_start, pos - line_start, line_number);
    if (c.tokens[0] && c.tokens[0][0] != ':' && c.tokens[0][0] != '/') ExecuteLine(c);
    if (c.stream.overflowed && !c.overflow_reported) {
      c.overflow_reported = true;
      LogError(c, u"エラー：出力データが128MiBを超えた\r\n");
    }
  }
  if (unclosed) {
    LogError(c, u"ダブルクォートが閉じていない\r\n");
  } else if (nul_line > 0) {
    c.log->current_line = nul_line;
    LogInfo(c, u"NULバイトがあるため、以降を読みません (%d行目)\r\n", nul_line);
  }
  for (char*& t : c.tokens) t = nullptr;
  c.log->current_file = outer_file;
  c.log->current_line = outer_line;
  return !unclosed && !c.error_mark;
}
