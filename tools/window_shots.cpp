// Shows the main window on a real display in each mode and saves what the X
// server shows of it, for people to look at. Run by scripts/screenshots.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

#include "mainwindow/JobController.h"
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

// Starts encrypting a large sparse file, answers the question, and takes the picture from
// inside the job, Cancel button and figures showing; then cancels it.
void RunningJob(lockvale::frmMain& window, const QString& folder) {
  const QString big = folder + QStringLiteral("/running-job-input");
  QFile file(big);
  if (file.open(QIODevice::WriteOnly)) file.resize(qint64{6} << 30);
  Find<QRadioButton>(window, "optSingleFile")->click();
  Find<QRadioButton>(window, "optEncrypt")->click();
  Find<QLineEdit>(window, "txtFilename")->setText(big);
  Find<QLineEdit>(window, "txtDestFilename")->setText(big + QStringLiteral(".encr"));
  auto* step = new QTimer(&window);
  static QElapsedTimer cancelled;
  QObject::connect(step, &QTimer::timeout, [&window, step, folder] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      box->button(box->buttons().size() > 1 ? QMessageBox::Yes : QMessageBox::Ok)->click();
      return;
    }
    if (Find<QLabel>(window, "FiguresPanel")->text().contains(QStringLiteral("left")) &&
        Find<QProgressBar>(window, "pbBar")->value() >
            Find<QProgressBar>(window, "pbBar")->maximum() / 4) {
      step->stop();
      Shoot(window, folder + QStringLiteral("/running.png"));
      cancelled.start();
      Find<QPushButton>(window, "cmdEncryptFile")->click();
    }
  });
  step->start(50);
  auto* jobs = window.findChild<lockvale::JobController*>();
  qint64 stoppedAfter = -1;
  const auto ended = QObject::connect(jobs, &lockvale::JobController::Ended,
                                      [&] { stoppedAfter = cancelled.elapsed(); });
  Find<QPushButton>(window, "cmdEncryptFile")->click();
  if (!QTest::qWaitFor([jobs] { return !jobs->Running(); }, 600'000))
    std::fprintf(stderr, "the running job did not stop\n");
  QObject::disconnect(ended);
  std::printf("a running job stopped %lld ms after Cancel was pressed\n",
              static_cast<long long>(stoppedAfter));
  file.remove();
}

// Options ▸ Format open over the window in single-file mode, Sealed chosen; then back to the
// default, so that the running job's picture encrypts as it always did.
void SealedChosen(lockvale::frmMain& window, const QString& folder) {
  Find<QRadioButton>(window, "optSingleFile")->click();
  Find<QRadioButton>(window, "optEncrypt")->click();
  window.mnuFormat_Click(lockvale::Format::Lkv);
  Find<QLineEdit>(window, "txtDestFilename")
      ->setText(QStringLiteral("/home/user/Documents/report.doc.lkv"));
  auto* options = Find<QMenu>(window, "mnuOptions");
  window.menuBar()->setActiveAction(options->menuAction());
  QTest::qWait(200);
  options->setActiveAction(Find<QMenu>(window, "mnuFormat")->menuAction());
  QTest::keyClick(options, Qt::Key_Right);
  Shoot(window, folder + QStringLiteral("/sealed.png"));
  QTest::keyClick(Find<QMenu>(window, "mnuFormat"), Qt::Key_Escape);
  QTest::keyClick(options, Qt::Key_Escape);
  window.mnuFormat_Click(lockvale::Format::Encr);
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

  SealedChosen(window, folder);
  RunningJob(window, folder);

  window.mnuAboutApp_Click();
  if (auto* about = window.findChild<QWidget*>(QStringLiteral("frmAbout"))) {
    about->move(80, 80);
    Shoot(*about, folder + QStringLiteral("/about.png"));
  }
  return 0;
}
