#include "compiler/subtractive_generator.h"

namespace {

// One round: every entry minus the entry 24 places further on in the
// sequence. Entries below 25 use a value of the previous round, the others
// one already replaced in this round.
void RunRound(int32_t* t) {
  for (int i = 1; i <= 55; ++i) {
    int32_t v = t[i] - t[1 + (i + 30) % 55];
    if (v < 0) v += kSubtractiveModulus;
    t[i] = v;
  }
}

}  // namespace

void SeedSubtractiveGenerator(SubtractiveGenerator& g, int32_t seed) {
  int32_t s = seed < 0 ? 0 : seed > kSubtractiveModulus ? kSubtractiveModulus : seed;
  int32_t* t = g.table;
  t[0] = 0;
  t[55] = s;
  int32_t j = s;
  int32_t k = 1;
  for (int i = 1; i <= 54; ++i) {
    const int n = (21 * i) % 55;
    t[n] = k;
    k = j - k;
    if (k < 0) k += kSubtractiveModulus;
    j = t[n];
  }
  for (int round = 0; round < 3; ++round) RunRound(t);
  g.position = 55;
}

int32_t NextSubtractiveValue(SubtractiveGenerator& g) {
  if (++g.position > 55) {
    RunRound(g.table);
    g.position = 1;
  }
  return g.table[g.position];
}
