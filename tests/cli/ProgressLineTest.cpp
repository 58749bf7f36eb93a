#include "cli/ProgressLine.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace std::chrono_literals;
using lockvale::ProgressLine;

// The line fills the width but its last column, the name giving way to the numbers; it is
// redrawn at most every tenth of a second, and blanked only when it was drawn.
TEST(ProgressLine, NameShareSpeedAndTimeLeftRedrawnInPlace) {
  std::ostringstream out;
  ProgressLine::Clock::time_point now{};
  ProgressLine line(out, 50, [&] { return now; });
  line.Start("a-rather-long-file-name.bin", 60'000'000);
  line.Show(1'000'000);
  line.Clear();
  EXPECT_EQ(out.str(), "");
  now += 2s;
  line.Show(30'000'000);
  now += 50ms;
  line.Show(36'000'000);
  EXPECT_EQ(out.str(), "\r...ng-file-name.bin   50%    15.0 MB/s  0:02 left");
  line.Clear();
  EXPECT_EQ(out.str().substr(50), "\r" + std::string(49, ' ') + "\r");

  // A large file shows its name at once, before the speed is known.
  out.str("");
  line.Start("f", 10'000'000'000);
  now += 100s;
  line.Show(100'000'000);
  EXPECT_EQ(out.str(), "\rf    0%      -- MB/s  -:-- left" + std::string(18, ' ') +
                           "\rf    1%     1.0 MB/s  2:45:00 left" + std::string(15, ' '));
}
