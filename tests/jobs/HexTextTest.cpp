#include "jobs/HexText.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace lockvale::test;

static Bytes Read(std::string_view text) {
  Bytes data{0x55, 0x66, 0x77};  // stale contents that must not survive
  const std::size_t count = HexDisplayRev(text, data);
  EXPECT_EQ(count, data.size()) << text;
  return data;
}

TEST(HexDisplay, GroupsOfSixteenBytesAreSeparatedByTwoSpaces) {
  EXPECT_EQ(HexDisplay({}, 16), "");
  EXPECT_EQ(HexDisplay(Bytes{0xAB}, 16), "AB");
  const Bytes twenty{0x00, 0x0F, 0xA0, 0xFF, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC,
                     0xDE, 0xF0, 0x01, 0x23, 0x45, 0x67, 0x89, 0xCD, 0xEF, 0x3C};
  EXPECT_EQ(HexDisplay(twenty, 16), "000FA0FF123456789ABCDEF001234567  89CDEF3C");
  EXPECT_EQ(HexDisplay(Bytes(32, 0xAA), 16), std::string(32, 'A') + "  " + std::string(32, 'A'));
}

// Everything but hex digits of either case is skipped, even inside a pair, and a last
// unpaired digit is dropped; grouped digits read back.
TEST(HexDisplayRev, SkipsEverythingButDigitsAndReadsBackWhatHexDisplayWrote) {
  // text, the bytes read as digits
  const std::pair<std::string_view, std::string_view> kRows[] = {
      {"0a1B", "0A1B"}, {"0A 1b", "0A1B"}, {"0A\r\n1B", "0A1B"},
      {"0A1", "0A"},    {"4 1", "41"},     {"GHIJ", ""},
      {"", ""},         {"A", ""},         {"zz9", ""}};
  for (const auto& [text, digits] : kRows)
    EXPECT_EQ(HexDisplay(Read(text), 0), digits) << text;
  EXPECT_EQ(Read("0\303\251A-\342\202\254f\tf"), (Bytes{0x0A, 0xFF}));  // UTF-8 letters, in octal
  for (std::size_t n : {1, 16, 17, 4099}) {
    const Bytes data = RandomBytes(n, 100 + n);
    EXPECT_EQ(Read(HexDisplay(data, 16)), data) << n;
  }
}
