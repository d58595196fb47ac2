// One flag per entry of a mass's square list, packed 64 to a word: the "exhausted" (or
// "enclosed") marks of the growth loops. The loops draw entries at random and most draws of
// a large mass land on entries that can no longer grow, so each draw tests one bit of a
// list that stays in the cache instead of reading a record from a list of megabytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lorvex::shaping {

class SquareFlags {
 public:
  std::size_t Size() const { return size_; }
  bool Test(std::size_t entry) const { return (words_[entry / kBits] >> (entry % kBits)) & 1U; }
  void Set(std::size_t entry) { words_[entry / kBits] |= Bit(entry); }
  void Clear(std::size_t entry) { words_[entry / kBits] &= ~Bit(entry); }
  void Assign(std::size_t entry, bool on) { on ? Set(entry) : Clear(entry); }

  // The flags as words: entry e is bit e % 64 of word e / 64.
  const std::uint64_t* Words() const { return words_.data(); }

  // A new last entry, clear.
  void PushBack() {
    if (size_ % kBits == 0) words_.push_back(0);
    ++size_;
  }
  void Reserve(std::size_t entries) { words_.reserve((entries + kBits - 1) / kBits); }
  void ClearAll() {
    words_.clear();
    size_ = 0;
  }

  // The first entry from `from` on whose flag is clear, or Size() when there is none.
  std::size_t NextClear(std::size_t from) const {
    if (from >= size_) return size_;
    std::size_t word = from / kBits;
    // Set bits stand for entries already flagged; the bits below `from` are skipped too.
    std::uint64_t open = ~words_[word] & (~std::uint64_t{0} << (from % kBits));
    while (open == 0) {
      if (++word == words_.size()) return size_;
      open = ~words_[word];
    }
    const std::size_t entry = word * kBits + static_cast<std::size_t>(std::countr_zero(open));
    return entry < size_ ? entry : size_;
  }

 private:
  static constexpr std::size_t kBits = 64;
  static std::uint64_t Bit(std::size_t entry) { return std::uint64_t{1} << (entry % kBits); }

  std::vector<std::uint64_t> words_;
  std::size_t size_ = 0;
};

}  // namespace lorvex::shaping
