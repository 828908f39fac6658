#include "platform/msvc_random.h"

namespace {
MsvcRandom g_process_random;
}

uint32_t NextProcessRandom() {
  return NextMsvcRandom(g_process_random);
}

void ResetProcessRandom() {
  g_process_random = MsvcRandom{};
}
