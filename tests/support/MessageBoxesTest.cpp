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
    const QString text = "a <b>file</b> name\r\nDo you wish to pause on this error again?";
    QStringList seen;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen << box->text() << box->windowTitle();
      // Any property that is not as asked is named.
      if (box->icon() != QMessageBox::Question) seen << "icon";
      if (box->standardButtons() != (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel))
        seen << "buttons";
      if (box->defaultButton() != box->button(QMessageBox::Yes)) seen << "default button";
      if (box->parentWidget() != &owner) seen << "owner";
      if (box->textFormat() != Qt::PlainText) seen << "text format";
      box->button(QMessageBox::No)->click();
    });
    QCOMPARE(boxes.Ask(text.toStdString(), ""), MessageAnswer::No);
    QCOMPARE(seen, (QStringList{text, "Lockvale"}));
  }
};

QTEST_MAIN(MessageBoxesTest)
#include "MessageBoxesTest.moc"
