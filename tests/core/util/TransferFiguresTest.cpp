#include "util/TransferFigures.h"

#include <gtest/gtest.h>

using namespace lockvale;

TEST(TransferFigures, BytesInDecimalUnitsAndTheLiveLine) {
  const std::pair<std::uint64_t, const char*> kRows[] = {
      {999, "999 bytes"},    {1000, "1.0 KB"},    {1500, "1.5 KB"},
      {999'949, "999.9 KB"}, {999'950, "1.0 MB"}, {4'300'000'000, "4.3 GB"}};
  for (const auto& [bytes, text] : kRows)
    EXPECT_EQ(FormatBytes(bytes), text);
  EXPECT_EQ(LiveFigures(12'300'000, 45'600'000, 3), "12.3 MB of 45.6 MB  4.1 MB/s  0:09 left");
  EXPECT_EQ(LiveFigures(0, 45'600'000, 2), "0 bytes of 45.6 MB  -- MB/s  -:-- left");
}
