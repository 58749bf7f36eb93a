#pragma once

#include <QPointer>
#include <QWidget>

#include "jobs/MessageBoxes.h"

namespace lockvale {

// Modal QMessageBoxes, owned by and centred over the owner window (the active window
// while there is none). A message without a title shows kAppTitle.
class QtMessageBoxes : public MessageBoxes {
 public:
  void SetOwner(QWidget* owner) { m_Owner = owner; }
  MessageAnswer Show(const MessageRequest& request) override;

 private:
  QPointer<QWidget> m_Owner;
};

}  // namespace lockvale
