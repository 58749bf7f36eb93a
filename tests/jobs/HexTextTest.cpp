#include "jobs/HexText.h"

#include <gtest/gtest.h>

#include <cctype>

#include "TestSupport.h"

namespace lockvale {
namespace {

using test::Bytes;

Bytes Read(std::string_view text) {
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

  EXPECT_EQ(HexDisplay(test::RandomBytes(33, 1), 16).size(), 2u * 33 + 2 * 2);
}

TEST(HexDisplayRev, SkipsEverythingButDigitsAndDropsAnUnpairedDigit) {
  const Bytes pair{0x0A, 0x1B};
  EXPECT_EQ(Read("0a1B"), pair);
  EXPECT_EQ(Read("0A 1b"), pair);
  EXPECT_EQ(Read("0A\r\n1B"), pair);
  EXPECT_EQ(Read("0A1"), Bytes{0x0A});
  EXPECT_EQ(Read("4 1"), Bytes{0x41});
  EXPECT_EQ(Read("0\xC3\xA9"
                 "A-\xE2\x82\xAC"
                 "f\tf"),
            (Bytes{0x0A, 0xFF}));
  for (std::string_view nothing : {"GHIJ", "", "A", "zz9"})
    EXPECT_TRUE(Read(nothing).empty()) << nothing;
}

TEST(HexDisplayRev, ReadsBackWhatHexDisplayWroteEvenWhenReformatted) {
  for (std::size_t n : {1, 15, 16, 17, 1000, 4099}) {
    const Bytes data = test::RandomBytes(n, 100 + n);
    const std::string text = HexDisplay(data, 16);
    std::string lowerReflowed, respaced;
    std::size_t digits = 0;
    for (char c : text) {
      if (c == ' ') continue;
      lowerReflowed += static_cast<char>(std::tolower(c));
      if (++digits % 31 == 0) lowerReflowed += "\r\n";  // odd, so some pairs are split
      respaced += c;
      respaced += ' ';
    }
    EXPECT_EQ(Read(text), data) << n;
    EXPECT_EQ(Read(lowerReflowed), data) << n;
    EXPECT_EQ(Read(respaced), data) << n;
  }
}

}  // namespace
}  // namespace lockvale
