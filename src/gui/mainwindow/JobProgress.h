#pragma once

#include <cstdint>

class QProgressBar;

namespace lockvale {

// Drives the window's progress bar from 64-bit byte offsets. The bar counts in
// int, so files past 2 GiB are shown in proportion; values past the maximum are
// shown as full, never refused.
class JobProgress {
 public:
  explicit JobProgress(QProgressBar* bar) : m_Bar(bar) {}

  void Start(std::uint64_t maximum);  // range 0 to maximum, value 0
  void Show(std::uint64_t value);
  void Fill();

 private:
  int Scaled(std::uint64_t value) const;

  QProgressBar* m_Bar;
  std::uint64_t m_Maximum = 0;
  std::uint64_t m_Divisor = 1;
};

}  // namespace lockvale
