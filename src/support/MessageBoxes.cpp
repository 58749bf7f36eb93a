#include "support/MessageBoxes.h"

#include "support/QtMessageBoxes.h"

namespace lockvale {

namespace {

MessageBoxes* g_InstalledBoxes = nullptr;

}  // namespace

MessageBoxes& ActiveMessageBoxes() {
  static QtMessageBoxes realBoxes;
  return g_InstalledBoxes != nullptr ? *g_InstalledBoxes : realBoxes;
}

void InstallMessageBoxes(MessageBoxes* boxes) {
  g_InstalledBoxes = boxes;
}

void ShowNotice(const QString& text, const QString& title, NoticeIcon icon) {
  ActiveMessageBoxes().Show({text, title, MessageButtons::Ok, icon});
}

MessageAnswer AskYesNoCancel(const QString& text, const QString& title, NoticeIcon icon) {
  return ActiveMessageBoxes().Show({text, title, MessageButtons::YesNoCancel, icon});
}

}  // namespace lockvale
