#pragma once

#include <QPointer>
#include <QWidget>

#include "support/FilePickers.h"

namespace lockvale {

// Modal QFileDialogs, owned by and centred on the owner window; without an owner they are
// centred on the screen and block the whole program.
class QtFilePickers : public FilePickers {
 public:
  void SetOwner(QWidget* owner) { m_Owner = owner; }
  QWidget* Owner() const { return m_Owner.data(); }
  std::vector<std::string> Pick(const PickerRequest& request) override;

 private:
  QPointer<QWidget> m_Owner;
};

}  // namespace lockvale
