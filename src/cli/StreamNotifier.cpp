#include "cli/StreamNotifier.h"

namespace lockvale {

void StreamNotifier::Notify(const std::string& text, const std::string&, NoticeIcon) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  m_Out << "lockvale-cli: " << line << '\n';
}

}  // namespace lockvale
