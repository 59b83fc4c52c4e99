#include "core/random.h"

namespace {

uint32_t randomState = 1;

}  // namespace

void SeedRandom(uint32_t seed) { randomState = seed; }

int RandomUpTo(int n) {
  randomState = randomState * 214013u + 2531011u;
  const int64_t r = (randomState >> 16) & 0x7FFF;
  // 64-bit product: the same results as 32-bit arithmetic wherever that does not overflow
  // (n up to 65538), and still within 0 to n for larger n.
  return int(r * n / 32767);
}
