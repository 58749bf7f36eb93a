#include "support/MessageBoxNotifier.h"

#include "support/MessageBoxes.h"

namespace lockvale {

void MessageBoxNotifier::Notify(const std::string& text, const std::string& title,
                                NoticeIcon icon) {
  ShowNotice(QString::fromStdString(text), QString::fromStdString(title), icon);
}

}  // namespace lockvale
