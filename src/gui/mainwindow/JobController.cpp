#include "mainwindow/JobController.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QThread>
#include <QWidget>

#include "jobs/JobRunner.h"
#include "jobs/TextJob.h"
#include "mainwindow/JobProgress.h"
#include "mainwindow/JobRows.h"
#include "support/ActiveMessageBoxes.h"
#include "support/Statement.h"
#include "support/WindowThread.h"
#include "util/TransferFigures.h"

namespace lockvale {

namespace {

// Often enough to move the bar and the figures smoothly, rarely enough to cost the job nothing.
constexpr qint64 kShowIntervalMs = 40;

}  // namespace

JobController::JobController(const JobControls& controls, QObject* parent)
    : QObject(parent),
      m_Controls(controls),
      m_CancelKey(new QShortcut(QKeySequence(Qt::Key_Escape), controls.window)),
      m_Progress(std::make_unique<JobProgress>(controls.bar)) {
  setObjectName(QStringLiteral("JobController"));
  m_CancelKey->setEnabled(false);
  connect(m_CancelKey, &QShortcut::activated, this, &JobController::Cancel);
}

// The window does not close while a job runs, so this waits only for a worker about to end.
JobController::~JobController() {
  if (!m_Worker) return;
  Cancel();
  m_Worker->wait();
}

void JobController::Run(JobRequest request, const QList<QObject*>& inputs) {
  m_CancelAsked = false;
  // A text job is over in a moment, unless it derives a key, and leaves no file behind to stop.
  if (request.mode == JobMode::Text && !TextJobDerivesKey(request)) {
    RunJob(request, *this);
    return;
  }
  m_Request = std::move(request);
  if (m_Request.mode == JobMode::MultipleFiles)
    m_Rows = std::make_unique<JobRows>(*m_Controls.batch, this);
  m_BatchTallyShown = false;
  m_Controls.figures->clear();
  RestInputs(inputs);
  m_Worker.reset(QThread::create([this] { RunOnWorker(); }));
  connect(m_Worker.get(), &QThread::finished, this, &JobController::WorkerFinished);
  m_Worker->start();
}

// Reported as the errors of the Execute button's handler are.
void JobController::RunOnWorker() {
  LV_GUARD("cmdEncryptFile_Click", [&] { RunJob(m_Request, *this); });
  ForgetFailingStatement();  // a failure that a job caught and put aside
}

void JobController::WorkerFinished() {
  m_Worker->wait();
  m_Worker.reset();
  m_Rows.reset();
  m_Request = {};
  // A file's figures mean nothing once it is over; a batch's counts stay.
  if (!m_BatchTallyShown) m_Controls.figures->clear();
  WakeInputs();
  emit Ended();
}

void JobController::RestInputs(const QList<QObject*>& inputs) {
  m_CancelKey->setEnabled(true);
  m_Controls.execute->setText(QStringLiteral("Cancel"));
  m_Controls.executeItem->setText(QStringLiteral("&Cancel"));
  for (QObject* input : inputs) {
    if (input == nullptr || !input->property("enabled").toBool()) continue;
    m_RestingInputs << input;
    input->setProperty("enabled", false);
  }
}

// Only what was enabled rests, and only that comes back: the batch buttons keep their states.
void JobController::WakeInputs() {
  m_CancelKey->setEnabled(false);
  m_Controls.execute->setText(QStringLiteral("Execute"));
  m_Controls.executeItem->setText(QStringLiteral("&Execute"));
  for (const QPointer<QObject>& input : m_RestingInputs)
    if (input) input->setProperty("enabled", true);
  m_RestingInputs.clear();
}

void JobController::OnCipherProgress(std::uint64_t offset) {
  if (OnWindowThread()) {  // a text job
    m_Progress->Show(offset);
    return;
  }
  if (m_ShownClock.isValid() && m_ShownClock.elapsed() < kShowIntervalMs) return;
  m_ShownClock.start();
  const double seconds = static_cast<double>(m_FileClock.elapsed()) / 1000;
  const QString figures =
      QString::fromStdString(LiveFigures(std::min(offset, m_FileBytes), m_FileBytes, seconds));
  PostTo(this, [this, offset, figures] {
    m_Progress->Show(offset);
    m_Controls.figures->setText(figures);
  });
}

MessageBoxes& JobController::Boxes() {
  return ActiveMessageBoxes();
}

cEncrypt& JobController::Cipher() {
  if (!m_Rijndael) {
    m_Rijndael = std::make_unique<cEncrypt>();
    // The format reads the flag between chunks and ends the job with nothing left behind.
    m_Rijndael->SetProgressCallback([this](std::uint64_t offset) { OnCipherProgress(offset); },
                                    &m_CancelAsked);
  }
  return *m_Rijndael;
}

void JobController::SetStatusText(const std::string& text) {
  PostTo(this, [this, shown = QString::fromStdString(text)] {
    m_Controls.status->setText(shown);
    // A text job holds the window's thread until it ends.
    if (!Running()) m_Controls.status->repaint();
  });
}

void JobController::StartProgress(std::uint64_t maximum) {
  // The file jobs count one more than the file's bytes, so that an empty file has a bar.
  m_FileBytes = maximum > 0 ? maximum - 1 : 0;
  m_FileClock.start();
  m_ShownClock.invalidate();
  PostTo(this, [this, maximum] { m_Progress->Start(maximum); });
}

void JobController::FillProgress() {
  PostTo(this, [this] { m_Progress->Fill(); });
}

void JobController::DisplayString(const std::string& text) {
  PostTo(this,
         [this, shown = QString::fromStdString(text)] { m_Controls.text->setPlainText(shown); });
}

BatchList& JobController::BatchRows() {
  return *m_Rows;
}

void JobController::BatchFinished(const BatchTally& tally) {
  const QString counts = QStringLiteral("%1 done, %2 skipped, %3 failed")
                             .arg(tally.done)
                             .arg(tally.skipped)
                             .arg(tally.failed);
  PostTo(this, [this, counts] {
    m_BatchTallyShown = true;
    m_Controls.figures->setText(counts);
  });
}

// Qt's own trash, as the desktop's file manager would use it.
std::optional<std::string> JobController::MoveSourceToTrash(const std::string& path) {
  QFile source(QFile::decodeName(path.c_str()));
  if (source.moveToTrash()) return std::nullopt;
  return source.errorString().toStdString();
}

}  // namespace lockvale
