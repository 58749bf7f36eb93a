#pragma once

#include "util/Notifier.h"

namespace lockvale {

// Shows the cipher's notices as message boxes with an OK button.
class MessageBoxNotifier : public Notifier {
 public:
  void Notify(const std::string& text, const std::string& title, NoticeIcon icon) override;
};

}  // namespace lockvale
