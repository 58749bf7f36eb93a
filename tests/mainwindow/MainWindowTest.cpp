#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "WindowFixture.h"
#include "mainwindow/Twips.h"

using namespace lockvale;
using namespace lockvale::test;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  static QString Text(const Window& w, const char* name) {
    QWidget* widget = w.Get(name);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
    return {};
  }

  static int Top(const Window& w, const char* name) { return w.Get(name)->y(); }

 private slots:
  void startsInItsDesignState() {
    Window w;
    const std::pair<const char*, const char*> captions[] = {
        {"fraDetails", "Details:"},
        {"optSingleFile", "Single file"},
        {"optMultipleFiles", "Multiple files"},
        {"optText", "Text"},
        {"lblSourceFilename", "Source Filename:"},
        {"lblDestinationFilename", "Destination Filename:"},
        {"cmdSourceBrowse", "Browse"},
        {"cmdDestBrowse", "Browse"},
        {"lblTexttoEncrypt", "Text to encrypt/decrypt"},
        {"lblKey", "Key:"},
        {"lblBlockSize", "Block Size:"},
        {"lblKeySize", "Key Size:"},
        {"chkOverwrite", "Overwrite file"},
        {"chkDeleteSourceFile", "Delete source file"},
        {"cmdEncryptFile", "Execute"},
        {"optEncrypt", "Encrypt File"},
        {"optDecrypt", "Decrypt File"},
        {"cmdAdd", "Add"},
        {"cmdEdit", "Edit"},
        {"cmdRemove", "Remove"},
        {"cmdClear", "Clear list"},
    };
    for (const auto& [name, caption] : captions)
      QCOMPARE(Text(w, name), QString::fromLatin1(caption));
    QCOMPARE(w.Form().windowTitle(), QStringLiteral("Encrypt 1.0"));
    QVERIFY(w.Get<QRadioButton>("optSingleFile")->isChecked());
    QVERIFY(w.Get<QRadioButton>("optEncrypt")->isChecked());
    QVERIFY(!w.Get<QCheckBox>("chkOverwrite")->isChecked());
    QVERIFY(!w.Get<QCheckBox>("chkDeleteSourceFile")->isChecked());
    QVERIFY(w.Get<QLineEdit>("txtPassword")->text().isEmpty());
    QCOMPARE(w.Get<QLineEdit>("txtPassword")->toolTip(), QStringLiteral("Encryption Key"));
    for (const char* name : {"cmdAdd", "cmdEdit", "cmdRemove", "cmdClear"})
      QVERIFY(!w.Get(name)->isEnabled());

    auto* list = w.Get<QTreeWidget>("lstEncrypt");
    QCOMPARE(list->columnCount(), 4);
    QCOMPARE(list->headerItem()->text(3), QStringLiteral("Delete source files"));

    auto* keySize = w.Get<QComboBox>("cboKeySize");
    QVERIFY(keySize->isEnabled() && !keySize->isEditable());
    QCOMPARE(keySize->count(), 3);
    QCOMPARE(keySize->currentText(), QStringLiteral("128 Bit"));
    for (int i = 0; i < 3; ++i)
      QCOMPARE(keySize->itemData(i).toInt(), 128 + 64 * i);
    auto* blockSize = w.Get<QComboBox>("cboBlockSize");
    QVERIFY(!blockSize->isEnabled());
    QCOMPARE(blockSize->count(), 1);
    QCOMPARE(blockSize->currentData().toInt(), 128);

    QStringList menus;
    for (const char* name : {"mnufile", "mnuAbout"})
      menus << w.Get<QMenu>(name)->title();
    QCOMPARE(menus, (QStringList{"&File", "&About"}));
    const auto* file = w.Get<QMenu>("mnufile");
    QCOMPARE(file->actions().size(), 3);
    QCOMPARE(file->actions()[0]->text(), QStringLiteral("&Execute"));
    QVERIFY(file->actions()[1]->isSeparator());
    QCOMPARE(file->actions()[2]->text(), QStringLiteral("E&xit"));
    QCOMPARE(file->actions()[1]->objectName(), QStringLiteral("mnuSpace"));
  }

  void eachModeShowsItsControlsInOrder_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("outerHeight");
    QTest::addColumn<QString>("encryptCaption");
    QTest::addColumn<QString>("decryptCaption");
    QTest::newRow("single") << "optSingleFile" << 5300 << "Encrypt File"
                            << "Decrypt File";
    QTest::newRow("multiple") << "optMultipleFiles" << 8580 << "Encrypt Files"
                              << "Decrypt Files";
    QTest::newRow("text") << "optText" << 5985 << "Encrypt text"
                          << "Decrypt text";
  }

  void eachModeShowsItsControlsInOrder() {
    QFETCH(QString, mode);
    QFETCH(int, outerHeight);
    QFETCH(QString, encryptCaption);
    QFETCH(QString, decryptCaption);
    Window w;
    w.Click(qPrintable(mode));
    const bool files = mode != "optText", batch = mode == "optMultipleFiles";

    for (const char* name :
         {"lblSourceFilename", "txtFilename", "lblDestinationFilename", "txtDestFilename",
          "cmdSourceBrowse", "cmdDestBrowse", "chkOverwrite", "chkDeleteSourceFile"})
      QCOMPARE(w.Get(name)->isVisible(), files);
    for (const char* name : {"lblTexttoEncrypt", "txtEncrypt"})
      QCOMPARE(w.Get(name)->isVisible(), !files);
    for (const char* name : {"cmdAdd", "cmdEdit", "cmdRemove", "cmdClear", "lstEncrypt"})
      QCOMPARE(w.Get(name)->isVisible(), batch);
    QCOMPARE(Text(w, "optEncrypt"), encryptCaption);
    QCOMPARE(Text(w, "optDecrypt"), decryptCaption);

    // Inside the frame: key, block size and key size follow the file names or the text.
    const int above = files ? Top(w, "txtDestFilename") : Top(w, "lblTexttoEncrypt");
    QVERIFY(above < Top(w, "txtPassword"));
    QVERIFY(Top(w, "txtPassword") < Top(w, "cboBlockSize"));
    QVERIFY(Top(w, "cboBlockSize") < Top(w, "cboKeySize"));
    if (files) QVERIFY(Top(w, "cboKeySize") < Top(w, "chkOverwrite"));
    QCOMPARE(Top(w, "lblKey"), Top(w, "txtPassword"));

    // On the window: the frame, then the batch list, then the Execute row.
    QWidget* frame = w.Get("fraDetails");
    const int executeTop = Top(w, "cmdEncryptFile");
    for (const char* name : {"optEncrypt", "optDecrypt", "pbBar"})
      QCOMPARE(Top(w, name), executeTop);
    if (batch) {
      QVERIFY(frame->geometry().bottom() < Top(w, "cmdAdd"));
      QVERIFY(w.Get("cmdAdd")->geometry().bottom() < Top(w, "lstEncrypt"));
      QVERIFY(w.Get("lstEncrypt")->geometry().bottom() < executeTop);
    } else {
      QVERIFY(frame->geometry().bottom() < executeTop);
    }
    if (!files) QVERIFY(w.Get("txtEncrypt")->geometry().bottom() < frame->geometry().bottom());

    // Window heights differ as the design's do, and nothing shown is cut off.
    Window single;
    QCOMPARE(w.Form().height() - single.Form().height(), Px(outerHeight) - Px(5300));
    QVERIFY(frame->geometry().bottom() < w.Form().centralWidget()->height());
    for (QWidget* child : w.Form().centralWidget()->findChildren<QWidget*>()) {
      if (!child->isVisible() || !child->parentWidget()->isVisible()) continue;
      const QRect inside = child->parentWidget()->rect();
      QVERIFY2(inside.contains(child->geometry()), qPrintable(child->objectName()));
    }
  }

  void modeSwitchKeepsInputsAndRows() {
    Window w;
    w.Type("txtFilename", "a.txt");
    w.Click("optMultipleFiles");
    auto* list = w.Get<QTreeWidget>("lstEncrypt");
    list->addTopLevelItem(new QTreeWidgetItem({"a.txt", "a.txt.encr", "No", "No"}));
    w.Click("optText");
    w.Click("optSingleFile");
    QCOMPARE(w.Get<QLineEdit>("txtFilename")->text(), QStringLiteral("a.txt"));
    QVERIFY(w.Get("txtFilename")->isVisible());
    w.Click("optMultipleFiles");
    QCOMPARE(list->topLevelItemCount(), 1);
  }

  void directionSwitchSwapsEncrNamesInSingleFileMode() {
    Window w;
    auto names = [&] {
      return QStringList{w.Get<QLineEdit>("txtFilename")->text(),
                         w.Get<QLineEdit>("txtDestFilename")->text()};
    };
    w.Click("optDecrypt");
    w.Click("optEncrypt");
    QCOMPARE(names(), (QStringList{"", ""}));
    w.Type("txtFilename", "a.txt");
    w.Type("txtDestFilename", "a.txt.encr");
    w.Click("optDecrypt");
    QCOMPARE(names(), (QStringList{"a.txt.encr", "a.txt"}));
    w.Click("optEncrypt");
    QCOMPARE(names(), (QStringList{"a.txt", "a.txt.encr"}));

    w.Type("txtFilename", "A.ENCR");
    w.Type("txtDestFilename", "b");
    w.Click("optDecrypt");
    w.Click("optEncrypt");
    QCOMPARE(names(), (QStringList{"A.ENCR", "b"}));

    w.Type("txtDestFilename", "b.encr");
    w.Click("optText");
    w.Click("optDecrypt");
    QVERIFY(w.Get<QRadioButton>("optText")->isChecked());
    QCOMPARE(names(), (QStringList{"A.ENCR", "b.encr"}));
  }

  void directionSwitchEmptiesTheBatchList() {
    Window w;
    w.Click("optMultipleFiles");
    auto* list = w.Get<QTreeWidget>("lstEncrypt");
    for (const char* direction : {"optDecrypt", "optEncrypt"}) {
      list->addTopLevelItem(new QTreeWidgetItem({"a", "a.encr", "No", "No"}));
      w.Click(direction);
      QCOMPARE(list->topLevelItemCount(), 0);
    }
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
