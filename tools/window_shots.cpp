// Shows the main window on a real display in each mode and saves what the X
// server shows of it, for people to look at. Run by scripts/screenshots.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>

#include "mainwindow/frmMain.h"

namespace {

template <typename W>
W* Find(const QWidget& window, const char* name) {
  return window.findChild<W*>(QString::fromLatin1(name));
}

void Shoot(QWidget& window, const QString& file) {
  QTest::qWait(300);
  const QRect frame = window.frameGeometry();
  const QPixmap shot =
      window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  if (!shot.save(file)) std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(folder);
  lockvale::frmMain window;
  window.FillSizeLists();
  window.optSingleFile_Click();
  window.move(20, 20);
  window.show();
  Find<QLineEdit>(window, "txtFilename")
      ->setText(QStringLiteral("/home/user/Documents/report.doc"));
  Find<QLineEdit>(window, "txtDestFilename")
      ->setText(QStringLiteral("/home/user/Documents/report.doc.encr"));
  Find<QLineEdit>(window, "txtPassword")->setText(QStringLiteral("correct horse battery"));
  Shoot(window, folder + QStringLiteral("/single-file.png"));

  Find<QRadioButton>(window, "optMultipleFiles")->click();
  auto* row = new QTreeWidgetItem({QStringLiteral("/home/user/a.txt"),
                                   QStringLiteral("/home/user/a.txt.encr"), QStringLiteral("No"),
                                   QStringLiteral("Yes")});
  row->setCheckState(0, Qt::Checked);
  Find<QTreeWidget>(window, "lstEncrypt")->addTopLevelItem(row);
  auto* failed = new QTreeWidgetItem({QStringLiteral("/home/user/b.txt"),
                                      QStringLiteral("/home/user/b.txt.encr"),
                                      QStringLiteral("Yes"), QStringLiteral("No")});
  failed->setCheckState(0, Qt::Unchecked);
  for (int column = 0; column < 4; ++column)
    failed->setForeground(column, Qt::red);
  Find<QTreeWidget>(window, "lstEncrypt")->addTopLevelItem(failed);
  Find<QLabel>(window, "StatusPanel")->setText(QStringLiteral("Error"));
  Shoot(window, folder + QStringLiteral("/multiple-files.png"));

  window.cmdSourceBrowse_Click();  // the Browse window over the list
  if (auto* browse = window.findChild<QWidget*>(QStringLiteral("frmBrowse"))) {
    browse->move(60, 120);
    Shoot(*browse, folder + QStringLiteral("/browse.png"));
    browse->close();
  }

  Find<QRadioButton>(window, "optText")->click();
  Find<QRadioButton>(window, "optDecrypt")->click();
  Find<QPlainTextEdit>(window, "txtEncrypt")
      ->setPlainText(QStringLiteral("Meet me at the usual place at noon."));
  Shoot(window, folder + QStringLiteral("/text.png"));

  window.mnuAboutApp_Click();
  if (auto* about = window.findChild<QWidget*>(QStringLiteral("frmAbout"))) {
    about->move(80, 80);
    Shoot(*about, folder + QStringLiteral("/about.png"));
  }
  return 0;
}
