#include "support/ActiveMessageBoxes.h"

#include "support/QtMessageBoxes.h"
#include "support/WindowThread.h"

namespace lockvale {

namespace {

MessageBoxes* g_InstalledBoxes = nullptr;

QtMessageBoxes& RealBoxes() {
  static QtMessageBoxes boxes;
  return boxes;
}

MessageBoxes& BoxesInForce() {
  return g_InstalledBoxes != nullptr ? *g_InstalledBoxes : RealBoxes();
}

class WindowThreadBoxes : public MessageBoxes {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    MessageAnswer answer = MessageAnswer::Cancel;
    RunOnWindowThread([&] { answer = BoxesInForce().Show(request); });
    return answer;
  }
};

}  // namespace

MessageBoxes& ActiveMessageBoxes() {
  static WindowThreadBoxes boxes;
  return boxes;
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
