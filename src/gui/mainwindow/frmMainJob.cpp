// The main window while a file or batch job runs: Execute becomes Cancel, the other inputs
// rest, the window keeps handling its events between the cipher's progress reports, and the
// status bar's second field shows the figures of the file going through.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>

#include "browse/frmBrowse.h"
#include "jobs/JobRunner.h"
#include "mainwindow/JobProgress.h"
#include "mainwindow/frmMain.h"
#include "util/TransferFigures.h"

namespace lockvale {

namespace {

// Often enough to repaint smoothly and to stop a job at once, rarely enough to cost nothing.
constexpr qint64 kEventsIntervalMs = 40;

}  // namespace

void frmMain::RunCancellableJob(const JobRequest& request) {
  m_CancelRequested = m_BatchTallyShown = false;
  m_FiguresPanel->clear();
  SetInputsEnabled(false);
  const auto ended = qScopeGuard([this] {
    // A file's figures mean nothing once it is over; a batch's counts stay.
    if (!m_BatchTallyShown) m_FiguresPanel->clear();
    SetInputsEnabled(true);
    if (m_QuitAfterJob) QTimer::singleShot(0, this, &QWidget::close);
  });
  RunJob(request, *this);
}

// Only what was enabled rests, and only that comes back: the batch buttons keep their states.
void frmMain::SetInputsEnabled(bool enabled) {
  m_JobRunning = !enabled;
  m_CancelKey->setEnabled(!enabled);
  cmdEncryptFile->setText(enabled ? QStringLiteral("Execute") : QStringLiteral("Cancel"));
  mnuExecute->setText(enabled ? QStringLiteral("&Execute") : QStringLiteral("&Cancel"));
  if (enabled) {
    for (const QPointer<QObject>& input : m_RestingInputs)
      if (input) input->setProperty("enabled", true);
    m_RestingInputs.clear();
    return;
  }
  const std::initializer_list<QObject*> inputs = {fraDetails,
                                                  optEncrypt,
                                                  optDecrypt,
                                                  txtEncrypt,
                                                  lstEncrypt,
                                                  cmdAdd,
                                                  cmdEdit,
                                                  cmdRemove,
                                                  cmdClear,
                                                  m_Browse,
                                                  mnuOptions->menuAction()};
  for (QObject* input : inputs) {
    if (input == nullptr || !input->property("enabled").toBool()) continue;
    m_RestingInputs << input;
    input->setProperty("enabled", false);
  }
}

void frmMain::OnCipherProgress(std::uint64_t offset) {
  m_Progress->Show(offset);
  if (!m_JobRunning || (m_EventsClock.isValid() && m_EventsClock.elapsed() < kEventsIntervalMs))
    return;
  m_EventsClock.start();
  const double seconds = static_cast<double>(m_FileClock.elapsed()) / 1000;
  m_FiguresPanel->setText(
      QString::fromStdString(LiveFigures(std::min(offset, m_FileBytes), m_FileBytes, seconds)));
  QApplication::processEvents();
}

void frmMain::BatchFinished(const BatchTally& tally) {
  m_BatchTallyShown = true;
  m_FiguresPanel->setText(QStringLiteral("%1 done, %2 skipped, %3 failed")
                              .arg(tally.done)
                              .arg(tally.skipped)
                              .arg(tally.failed));
  m_FiguresPanel->repaint();
}

// Qt's own trash, as the desktop's file manager would use it.
std::optional<std::string> frmMain::MoveSourceToTrash(const std::string& path) {
  QFile source(QFile::decodeName(path.c_str()));
  if (source.moveToTrash()) return std::nullopt;
  return source.errorString().toStdString();
}

}  // namespace lockvale
