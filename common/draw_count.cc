#include "common/draw_count.h"

namespace lorvex {

std::optional<std::uint64_t> DrawsBetween(const Random& before, const Random& after,
                                          std::uint64_t most) {
  constexpr int kWindow = 4;
  Random ahead = after;  // a copy: the caller's generator does not move
  double wanted[kWindow];
  for (double& w : wanted) w = ahead.Next();

  Random replay = before;
  // ring[(n + k) % kWindow] holds draw n + k of the replayed stream, k = 0 .. 3.
  double ring[kWindow];
  for (double& r : ring) r = replay.Next();
  for (std::uint64_t n = 0; n <= most; ++n) {
    bool same = true;
    for (int k = 0; k < kWindow && same; ++k) same = ring[(n + k) % kWindow] == wanted[k];
    if (same) return n;
    ring[n % kWindow] = replay.Next();  // draw n + 4 takes the place of draw n
  }
  return std::nullopt;
}

}  // namespace lorvex
