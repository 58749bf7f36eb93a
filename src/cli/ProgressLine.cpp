#include "cli/ProgressLine.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "util/TransferFigures.h"

namespace lockvale {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
// A file this large takes long enough for its name to be worth showing before any speed is known.
constexpr std::uint64_t kShownAtOnce = 64 << 20;
constexpr std::size_t kNarrowest = 20;

// The name, or as much of its end as fits after "...", cut where a character starts.
std::string Fitted(const std::string& name, std::size_t room) {
  if (name.size() <= room) return name;
  if (room <= 3) return std::string(room, '.');
  std::size_t from = name.size() - (room - 3);
  while (from < name.size() && (static_cast<unsigned char>(name[from]) & 0xC0) == 0x80)
    ++from;
  return "..." + name.substr(from);
}

}  // namespace

ProgressLine::ProgressLine(std::ostream& out, std::size_t width, Now now)
    : m_Out(out), m_Width(std::max(width, kNarrowest)), m_Now(std::move(now)) {}

void ProgressLine::Start(std::string name, std::uint64_t total) {
  m_Name = std::move(name);
  m_Total = total;
  m_Started = m_Drawn = m_Now();
  if (total >= kShownAtOnce) Draw(0, 0);
}

void ProgressLine::Show(std::uint64_t done) {
  const Clock::time_point now = m_Now();
  if (now - m_Drawn < kRedrawInterval) return;
  m_Drawn = now;
  const std::chrono::duration<double> elapsed = now - m_Started;
  Draw(std::min(done, m_Total), elapsed.count());
}

void ProgressLine::Draw(std::uint64_t done, double seconds) {
  m_Out << Compose(done, seconds) << std::flush;
  m_Shown = true;
}

void ProgressLine::Clear() {
  if (!m_Shown) return;
  m_Out << '\r' << std::string(m_Width - 1, ' ') << '\r' << std::flush;
  m_Shown = false;
}

// The last column stays empty: writing there makes some terminals wrap the line.
std::string ProgressLine::Compose(std::uint64_t done, double seconds) const {
  const TransferPace pace = PaceOf(done, m_Total, seconds);
  const auto percent = static_cast<unsigned>(m_Total == 0 ? 100 : done * 100 / m_Total);
  char tail[96];
  std::snprintf(tail, sizeof tail, "  %3u%%  %s  %s left", percent,
                FormatSpeed(pace.bytesPerSecond).c_str(), FormatDuration(pace.secondsLeft).c_str());
  const std::string tailText = tail;
  const std::size_t room = m_Width - 1 > tailText.size() ? m_Width - 1 - tailText.size() : 0;
  std::string line = Fitted(m_Name, room) + tailText;
  line.resize(m_Width - 1, ' ');
  return '\r' + line;
}

}  // namespace lockvale
