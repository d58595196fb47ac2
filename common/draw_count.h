// Counting the draws of a generator without slowing it down: keep a copy of the generator
// from before some work, and compare it with the generator after the work by replaying the
// stream. Tests and benchmarks use it to see how many draws a build made; the build itself
// never pays for the count.
#pragma once

#include <cstdint>
#include <optional>

#include "common/random.h"

namespace lorvex {

// How many draws `after` has made since it stood where `before` stands: the stream is
// replayed from `before` until its next four draws are the next four `after` would give
// (212 bits that no earlier stretch of the stream repeats). Nothing when `after` is not
// within `most` draws of `before`, e.g. when it was seeded differently. Costs one draw per
// draw counted.
std::optional<std::uint64_t> DrawsBetween(const Random& before, const Random& after,
                                          std::uint64_t most);

}  // namespace lorvex
