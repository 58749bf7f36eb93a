#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lockvale {

// The hexadecimal text form of ciphertext: two upper-case digits per byte, high
// nibble first, and two spaces before every byte whose index is a positive
// multiple of k (a k of 0 means no grouping). Nothing at either end, no line breaks.
std::string HexDisplay(std::span<const std::uint8_t> Data, std::size_t k);

// Reads the hexadecimal form leniently: every character that is not a hex digit
// of either case is skipped, even between the two digits of a pair, and a last
// unpaired digit is dropped. Data is replaced by the bytes read; returns their count.
std::size_t HexDisplayRev(std::string_view TheString, std::vector<std::uint8_t>& Data);

}  // namespace lockvale
