// A 64-bit fingerprint of a built world, the same on every platform: two builds that agree
// square for square, mass for mass and city for city have one fingerprint, and a world
// that differs anywhere has another (up to a chance of 1 in 2^64). Used to prove that a
// change to the engine left every world as it was, seed for seed.
#pragma once

#include <cstdint>

#include "engine/host_world.h"
#include "world/world_state.h"

namespace lorvex {

// The map size and wrap, WorldMap, MassOfSquare, CityOfSquare, the land-mass table and the
// three city arrays.
std::uint64_t WorldHash(const WorldState& world);

// What the host received: MapArray, the city arrays, the city count and the mass table.
std::uint64_t HostWorldHash(const HostWorld& world);

}  // namespace lorvex
