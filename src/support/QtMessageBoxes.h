#pragma once

#include "support/MessageBoxes.h"

namespace lockvale {

// Modal QMessageBoxes over the active window. A message without a title shows kAppTitle.
class QtMessageBoxes : public MessageBoxes {
 public:
  MessageAnswer Show(const MessageRequest& request) override;
};

}  // namespace lockvale
