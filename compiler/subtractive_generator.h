// Knuth's subtractive random-number generator (lags 55 and 24, modulus
// 1,000,000,000) with the seeding the data file's keystream needs: the seed
// is used directly (clamped) and only three rounds are run at seeding.
#pragma once
#include <cstdint>

constexpr int32_t kSubtractiveModulus = 1000000000;

struct SubtractiveGenerator {
  int32_t table[56] = {};  // entries 1..55; entry 0 unused
  int position = 55;       // the entry last handed out
};

// Seeds with `seed` clamped to 0..1,000,000,000 (a negative seed gives 0).
void SeedSubtractiveGenerator(SubtractiveGenerator& g, int32_t seed);
// The next value, 0..1,000,000,000. The first call after seeding runs the
// fourth round of the table and returns its entry 1.
int32_t NextSubtractiveValue(SubtractiveGenerator& g);
