#include "jobs/HexText.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lockvale {
namespace {

constexpr std::array<char, 512> MakeDigitPairs() {
  constexpr char digits[] = "0123456789ABCDEF";
  std::array<char, 512> pairs{};
  for (std::size_t value = 0; value < 256; ++value) {
    pairs[2 * value] = digits[value >> 4];
    pairs[2 * value + 1] = digits[value & 15];
  }
  return pairs;
}

constexpr std::int8_t NotADigit = -1;

constexpr std::array<std::int8_t, 256> MakeDigitValues() {
  std::array<std::int8_t, 256> values{};
  values.fill(NotADigit);
  for (int digit = 0; digit < 10; ++digit)
    values['0' + digit] = static_cast<std::int8_t>(digit);
  for (int digit = 0; digit < 6; ++digit) {
    values['A' + digit] = static_cast<std::int8_t>(10 + digit);
    values['a' + digit] = static_cast<std::int8_t>(10 + digit);
  }
  return values;
}

constexpr std::array<char, 512> DigitPairs = MakeDigitPairs();
constexpr std::array<std::int8_t, 256> DigitValues = MakeDigitValues();

char* WriteDigits(std::span<const std::uint8_t> bytes, char* out) {
  for (std::uint8_t byte : bytes) {
    std::memcpy(out, &DigitPairs[2 * byte], 2);
    out += 2;
  }
  return out;
}

}  // namespace

std::string HexDisplay(std::span<const std::uint8_t> Data, std::size_t k) {
  if (Data.empty()) return {};
  const std::size_t group = k == 0 ? Data.size() : k;
  const std::size_t separators = (Data.size() - 1) / group;
  std::string text(2 * Data.size() + 2 * separators, ' ');
  char* out = text.data();
  for (std::size_t start = 0; start < Data.size(); start += group) {
    if (start != 0) out += 2;  // the two spaces are already there
    out = WriteDigits(Data.subspan(start, std::min(group, Data.size() - start)), out);
  }
  return text;
}

std::size_t HexDisplayRev(std::string_view TheString, std::vector<std::uint8_t>& Data) {
  Data.resize(TheString.size() / 2);
  std::size_t count = 0;
  int pendingHigh = NotADigit;
  for (char character : TheString) {
    const int value = DigitValues[static_cast<unsigned char>(character)];
    if (value == NotADigit) continue;
    if (pendingHigh == NotADigit) {
      pendingHigh = value;
    } else {
      Data[count++] = static_cast<std::uint8_t>(pendingHigh << 4 | value);
      pendingHigh = NotADigit;
    }
  }
  Data.resize(count);
  return count;
}

}  // namespace lockvale
