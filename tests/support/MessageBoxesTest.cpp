#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "support/QtMessageBoxes.h"

using namespace lockvale;

class MessageBoxesTest : public QObject {
  Q_OBJECT

 private slots:
  // A real box, looked at once it is up: exact texts, icon, buttons, default and owner.
  void showsTheRequestOverItsOwnerAndReturnsTheButtonClicked() {
    QWidget owner;
    owner.show();
    QtMessageBoxes boxes;
    boxes.SetOwner(&owner);
    const std::string text = "a <b>file</b> name\r\nDo you wish to pause on this error again?";
    QMessageBox* seen = nullptr;
    QString seenText, seenTitle;
    QTimer::singleShot(0, [&] {
      seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (seen == nullptr) return;
      seenText = seen->text();
      seenTitle = seen->windowTitle();
      QCOMPARE(seen->icon(), QMessageBox::Question);
      QCOMPARE(seen->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      QCOMPARE(seen->defaultButton(), seen->button(QMessageBox::Yes));
      QCOMPARE(seen->parentWidget(), &owner);
      QCOMPARE(seen->textFormat(), Qt::PlainText);
      seen->button(QMessageBox::No)->click();
    });
    const MessageAnswer answer = boxes.Ask(text, "");
    QVERIFY(seen != nullptr);
    QCOMPARE(answer, MessageAnswer::No);
    QCOMPARE(seenText, QString::fromStdString(text));
    QCOMPARE(seenTitle, QStringLiteral("Lockvale"));
  }
};

QTEST_MAIN(MessageBoxesTest)
#include "MessageBoxesTest.moc"
