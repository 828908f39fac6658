// The process-wide random generator: the recurrence of the MSVC C runtime's
// rand, written out so that every build draws the same values (never the C
// library's own rand, whose recurrence differs between runtimes).
#pragma once
#include <cstdint>

struct MsvcRandom {
  uint32_t state = 1;  // the runtime's state before any srand
};

// x = x * 214013 + 2531011 (mod 2^32); the value is bits 16..30 of x.
inline uint32_t NextMsvcRandom(MsvcRandom& r) {
  r.state = r.state * 214013u + 2531011u;
  return (r.state >> 16) & 0x7FFF;
}

// The next value of the one generator of the process: 41, 18467, 6334, ...
// Every data file and every unnamed model group draws from it.
uint32_t NextProcessRandom();
// Restarts the process-wide generator from its default state (tests only).
void ResetProcessRandom();
