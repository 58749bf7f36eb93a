#include "support/ActiveMessageBoxes.h"

#include "support/QtMessageBoxes.h"

namespace lockvale {

namespace {

MessageBoxes* g_InstalledBoxes = nullptr;

QtMessageBoxes& RealBoxes() {
  static QtMessageBoxes boxes;
  return boxes;
}

}  // namespace

MessageBoxes& ActiveMessageBoxes() {
  return g_InstalledBoxes != nullptr ? *g_InstalledBoxes : RealBoxes();
}

void InstallMessageBoxes(MessageBoxes* boxes) {
  g_InstalledBoxes = boxes;
}

void SetMessageBoxOwner(QWidget* owner) {
  RealBoxes().SetOwner(owner);
}

void ShowNotice(const QString& text, const QString& title, NoticeIcon icon) {
  ActiveMessageBoxes().Notice(text.toStdString(), title.toStdString(), icon);
}

MessageAnswer AskYesNoCancel(const QString& text, const QString& title, NoticeIcon icon) {
  return ActiveMessageBoxes().Ask(text.toStdString(), title.toStdString(), icon);
}

}  // namespace lockvale
