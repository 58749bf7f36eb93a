#pragma once

#include <ostream>

#include "util/Notifier.h"

namespace lockvale {

// Prints each notice as one line: "lockvale-cli: " and the text, its line breaks folded.
class StreamNotifier : public Notifier {
 public:
  explicit StreamNotifier(std::ostream& out) : m_Out(out) {}
  void Notify(const std::string& text, const std::string& title, NoticeIcon icon) override;

 private:
  std::ostream& m_Out;
};

}  // namespace lockvale
