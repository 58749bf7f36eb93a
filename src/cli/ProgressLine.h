#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace lockvale {

// One line on a terminal, redrawn in place with "\r" as a file goes through the cipher: the
// file's name, the percentage done, the average speed and the time left. The clock and the
// terminal's width come from outside, so the line can be checked without a terminal.
class ProgressLine {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = std::function<Clock::time_point()>;

  ProgressLine(std::ostream& out, std::size_t width, Now now = Clock::now);

  // A large file shows its line at once, a small one only if it lasts.
  void Start(std::string name, std::uint64_t total);
  // Redraws at most every tenth of a second: fast files cost the terminal nothing.
  void Show(std::uint64_t done);
  // Blanks a drawn line, so that what is printed next starts at the left.
  void Clear();

 private:
  void Draw(std::uint64_t done, double seconds);
  std::string Compose(std::uint64_t done, double seconds) const;

  std::ostream& m_Out;
  std::size_t m_Width;
  Now m_Now;
  std::string m_Name;
  std::uint64_t m_Total = 0;
  Clock::time_point m_Started;
  Clock::time_point m_Drawn;
  bool m_Shown = false;
};

}  // namespace lockvale
