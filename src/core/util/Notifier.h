#pragma once

#include <string>

namespace lockvale {

enum class NoticeIcon { Information, Question, Exclamation, Critical, None };

// Messages the core wants the user to see. The window shows them as message
// boxes, the command-line tool prints them; the core never shows anything itself.
class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void Notify(const std::string& text, const std::string& title, NoticeIcon icon) = 0;
};

}  // namespace lockvale
