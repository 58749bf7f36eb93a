#include "mainwindow/JobProgress.h"

#include <QProgressBar>
#include <algorithm>
#include <limits>

namespace lockvale {

void JobProgress::Start(std::uint64_t maximum) {
  constexpr std::uint64_t kBarLimit = std::numeric_limits<int>::max();
  m_Maximum = maximum;
  m_Divisor = maximum / kBarLimit + 1;
  m_Bar->setRange(0, Scaled(maximum));
  m_Bar->setValue(0);
}

void JobProgress::Show(std::uint64_t value) {
  m_Bar->setValue(Scaled(std::min(value, m_Maximum)));
}

void JobProgress::Fill() {
  m_Bar->setValue(m_Bar->maximum());
}

int JobProgress::Scaled(std::uint64_t value) const {
  return static_cast<int>(value / m_Divisor);
}

}  // namespace lockvale
