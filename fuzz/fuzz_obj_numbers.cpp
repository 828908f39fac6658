// Numbers of OBJ lines three ways: the short-decimal path the reader takes
// first, the general path with its own fast case, and the plain decimal
// reader alone must give the same bits, and the first two stop at the same
// byte, for any bytes. The input is one line (cut at its first LF or NUL).
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "modelio/obj_text.h"

namespace {

bool SameNumber(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> line;
  for (size_t i = 0; i < size && data[i] != '\n' && data[i] != 0; ++i) line.push_back(data[i]);
  line.push_back('\n');
  line.resize(line.size() + objtext::kTextPadding, '\n');

  uint8_t* fast = line.data();
  uint8_t* general = line.data();
  for (;;) {  // every number of the line, in step
    const float a = objtext::NextNumber(fast);
    while (objtext::ClassOf(*general) == objtext::kSeparator) ++general;
    // The token as the plain decimal reader sees it, without any fast path.
    const uint8_t* token_end = general;
    while (objtext::ClassOf(*token_end) == objtext::kToken) ++token_end;
    const float c = static_cast<float>(objtext::ParseNumberSlow(general, token_end));
    const float b = objtext::NextNumberGeneral(general);
    if (!SameNumber(a, b) || !SameNumber(b, c) || fast != general) __builtin_trap();
    if (objtext::ClassOf(*fast) == objtext::kLineEnd) break;
  }
  return 0;
}
