#include "quadrant.h"

namespace gdi::detail {

int quadrantOfEscapement(int escapement) {
  // Normalise to 0..3599 without overflow, then round to the nearest right angle.
  long long e = escapement % 3600;
  if (e < 0) e += 3600;
  return static_cast<int>(((e + 450) / 900) % 4);
}

}  // namespace gdi::detail
