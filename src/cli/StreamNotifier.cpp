#include "cli/StreamNotifier.h"

#include "cli/ProgressLine.h"

namespace lockvale {

void StreamNotifier::Tell(const std::string& text) {
  if (m_Progress) m_Progress->Clear();
  std::string line = "lockvale-cli: ";
  if (!m_Subject.empty()) line += m_Subject + ": ";
  for (char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  m_Out << line << '\n' << std::flush;
}

}  // namespace lockvale
