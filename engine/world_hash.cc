#include "engine/world_hash.h"

#include <cstddef>
#include <vector>

namespace lorvex {

namespace {

// FNV-1a over 64-bit words: each step is a bijection of the running value, so a single
// value that differs always gives a different fingerprint.
class Fingerprint {
 public:
  void Add(std::uint64_t word) {
    value_ ^= word;
    value_ *= kPrime;
  }
  // Letters eight to a word, first letter lowest, so the result does not depend on the
  // machine's byte order.
  void AddLetters(const std::vector<char>& letters) {
    Add(letters.size());
    std::size_t i = 0;
    for (; i + 8 <= letters.size(); i += 8) {
      std::uint64_t word = 0;
      for (std::size_t k = 0; k < 8; ++k)
        word |= static_cast<std::uint64_t>(static_cast<unsigned char>(letters[i + k])) << (8 * k);
      Add(word);
    }
    std::uint64_t tail = 0;
    for (std::size_t k = 0; i + k < letters.size(); ++k)
      tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(letters[i + k])) << (8 * k);
    Add(tail);
  }
  template <typename Int>
  void AddNumbers(const std::vector<Int>& numbers) {
    Add(numbers.size());
    for (const Int n : numbers) Add(static_cast<std::uint64_t>(static_cast<std::int64_t>(n)));
  }
  void AddMasses(const std::vector<LandMass>& masses) {
    Add(masses.size());
    for (const LandMass& m : masses) {
      Add(static_cast<std::uint64_t>(m.sizeClass));
      Add(static_cast<std::uint64_t>(m.squares));
    }
  }
  std::uint64_t Value() const { return value_; }

 private:
  static constexpr std::uint64_t kPrime = 0x100000001b3ULL;
  std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

}  // namespace

std::uint64_t WorldHash(const WorldState& world) {
  Fingerprint f;
  f.Add(static_cast<std::uint64_t>(world.MapWidth));
  f.Add(static_cast<std::uint64_t>(world.MapHeight));
  f.Add(world.MapWrap ? 1 : 0);
  f.AddLetters(world.WorldMap.Cells());
  f.AddNumbers(world.MassOfSquare.Cells());
  f.AddNumbers(world.CityOfSquare.Cells());
  f.AddMasses(world.MassTable);
  f.AddNumbers(world.CityProduction);
  f.AddNumbers(world.CitySpecialty);
  f.AddNumbers(world.CityOwner);
  return f.Value();
}

std::uint64_t HostWorldHash(const HostWorld& world) {
  Fingerprint f;
  f.Add(static_cast<std::uint64_t>(world.MapArray.Width()));
  f.Add(static_cast<std::uint64_t>(world.MapArray.Height()));
  f.AddLetters(world.MapArray.Cells());
  f.AddNumbers(world.ProdArray);
  f.AddNumbers(world.SpecArray);
  f.AddNumbers(world.OwnerArray);
  f.Add(static_cast<std::uint64_t>(world.CityCount));
  f.AddMasses(world.Masses);
  return f.Value();
}

}  // namespace lorvex
