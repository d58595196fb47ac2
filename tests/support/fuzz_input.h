// Reads the fuzzer's bytes as a stream of small choices; past the end every read is 0, so
// any input, the empty one included, is a complete description.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

namespace lorvex::fuzzing {

// A broken rule: the fuzzer reports the input that broke it.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

// A folder of the process's own for its inputs' files (never a kessett folder).
inline const std::filesystem::path& WorkFolder(const std::string& target) {
  static const std::filesystem::path folder = [&] {
    const auto path = std::filesystem::temp_directory_path() / ("lorvex-" + target + "-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path / "folder.kst");  // a folder where a file is expected
    return path;
  }();
  return folder;
}

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
  // A text for a number box: most often digits up to the box's length, otherwise a pattern
  // repeated up to the most a box holds, any bytes, or a number text of an odd form.
  std::string FieldText(int maxLength, std::size_t mostLength) {
    static constexpr const char* kOddNumbers[] = {
        "",     "-1",  "-0",   "0",     "1e999", "-1e999", "1e308", "2147483648", "4294967296",
        "1e-400", ".5", "2.5", "0x10",  "nan",   "inf",    " 7",    "+3",         "1e",
        "5e+",  "-",   ".",    "99999999999999999999", "32767", "32768", "65536", "-2147483649"};
    switch (Byte() % 8) {
      case 5: {  // a short pattern repeated, up to the most a box holds
        std::string pattern = Text(4);
        if (pattern.empty()) pattern = "9";
        const std::size_t length = static_cast<std::size_t>(Range(1, static_cast<int>(mostLength)));
        std::string text;
        while (text.size() < length) text += pattern;
        text.resize(length);
        return text;
      }
      case 6: {  // any bytes
        const int length = Range(0, 16);
        std::string text;
        for (int i = 0; i < length; ++i) text += static_cast<char>(Byte());
        return text;
      }
      case 7: return kOddNumbers[Range(0, static_cast<int>(std::size(kOddNumbers)) - 1)];
      default: return Text(maxLength > 0 ? maxLength : 4);
    }
  }
  std::size_t Remaining() const { return at_ < size_ ? size_ - at_ : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace lorvex::fuzzing
