#include "jobs/HexText.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace lockvale::test;

TEST(HexDisplay, GroupsOfSixteenBytesAreSeparatedByTwoSpaces) {
  EXPECT_EQ(HexDisplay({}, 16), "");
  EXPECT_EQ(HexDisplay(Bytes{0xAB}, 16), "AB");
  const Bytes twenty{0x00, 0x0F, 0xA0, 0xFF, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC,
                     0xDE, 0xF0, 0x01, 0x23, 0x45, 0x67, 0x89, 0xCD, 0xEF, 0x3C};
  EXPECT_EQ(HexDisplay(twenty, 16), "000FA0FF123456789ABCDEF001234567  89CDEF3C");
  EXPECT_EQ(HexDisplay(Bytes(32, 0xAA), 16), std::string(32, 'A') + "  " + std::string(32, 'A'));
}
