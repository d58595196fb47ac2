// Reads the fuzzer's bytes as a stream of small choices; past the end every read is 0, so
// any input, the empty one included, is a complete description.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lorvex::fuzzing {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // A whole number from lo to hi inclusive.
  int Range(int lo, int hi) {
    const unsigned span = static_cast<unsigned>(hi - lo) + 1;
    const unsigned value = (static_cast<unsigned>(Byte()) << 8) | Byte();
    return lo + static_cast<int>(value % span);
  }
  std::uint64_t Word() {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value = (value << 8) | Byte();
    return value;
  }
  // A text of up to maxLength characters, any bytes; most often digits, so that the
  // validators' interesting values are reached.
  std::string Text(int maxLength) {
    const int length = Range(0, maxLength);
    std::string text;
    for (int i = 0; i < length; ++i) {
      const std::uint8_t b = Byte();
      text += b < 200 ? static_cast<char>('0' + b % 10) : static_cast<char>(b);
    }
    return text;
  }
  std::size_t Remaining() const { return at_ < size_ ? size_ - at_ : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace lorvex::fuzzing
