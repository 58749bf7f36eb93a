#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "support/QtMessageBoxes.h"

using namespace lockvale;

namespace {

struct SeenBox {
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows `request` in a real box, notes how it looks once it is up, and lets `close` answer it.
MessageAnswer ShowAndClose(const MessageRequest& request,
                           const std::function<void(QMessageBox&)>& close, SeenBox& seen) {
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons(),
            box->standardButton(box->defaultButton())};
    close(*box);
  });
  return QtMessageBoxes().Show(request);
}

}  // namespace

class MessageBoxesTest : public QObject {
  Q_OBJECT

 private slots:
  void asksWithYesNoCancelAndReturnsTheButtonClicked() {
    const QString text =
        QStringLiteral("Error Line: 7.\r\nDo you wish to pause on this error again?");
    SeenBox seen;
    const MessageAnswer answer = ShowAndClose(
        {text, QStringLiteral("Error"), MessageButtons::YesNoCancel, NoticeIcon::Question},
        [](QMessageBox& box) { box.button(QMessageBox::No)->click(); }, seen);
    QCOMPARE(answer, MessageAnswer::No);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.title, QStringLiteral("Error"));
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(seen.defaultButton, QMessageBox::Yes);
  }

  void showsANoticeWithoutTitleUnderTheAppTitle() {
    SeenBox seen;
    const MessageAnswer answer = ShowAndClose(
        {QStringLiteral("Done"), QString(), MessageButtons::Ok, NoticeIcon::Exclamation},
        [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, seen);
    QCOMPARE(answer, MessageAnswer::Ok);
    QCOMPARE(seen.title, kAppTitle);
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }
};

QTEST_MAIN(MessageBoxesTest)
#include "MessageBoxesTest.moc"
