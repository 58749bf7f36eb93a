#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <atomic>
#include <memory>

#include "jobs/JobHost.h"
#include "jobs/JobRequest.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QShortcut;
class QThread;
class QWidget;

namespace lockvale {

class BatchListView;
class JobProgress;
class JobRows;

// The main window's widgets that a job changes.
struct JobControls {
  QWidget* window;  // takes Esc while a job runs
  QPushButton* execute;
  QAction* executeItem;
  QProgressBar* bar;
  QLabel* status;
  QLabel* figures;  // bytes, speed and time left; a batch's counts after it
  QPlainTextEdit* text;
  BatchListView* batch;
};

// Runs the main window's jobs and is their host. A text job is over in a moment and runs at once,
// unless it derives a key. A file or batch job, or such a text job, runs on a worker thread while
// the window goes on: its inputs rest and Execute reads Cancel until Ended; what the job shows is
// posted to the window in order, and its questions are asked there while the job waits for the
// answers.
class JobController : public QObject, private JobHost {
  Q_OBJECT

 public:
  JobController(const JobControls& controls, QObject* parent);
  ~JobController() override;

  bool Running() const { return m_Worker != nullptr; }
  // `inputs` rest while a file or batch job runs; only those enabled then come back.
  void Run(JobRequest request, const QList<QObject*>& inputs);
  // Cancel, Esc or a close of the window: the job stops at its next progress report.
  void Cancel() { m_CancelAsked = true; }

 signals:
  void Ended();  // a file or batch job is over and the inputs are back

 private:
  void RunOnWorker();
  void WorkerFinished();
  void RestInputs(const QList<QObject*>& inputs);
  void WakeInputs();
  void OnCipherProgress(std::uint64_t offset);

  // JobHost: called on the job's thread.
  MessageBoxes& Boxes() override;
  cEncrypt& Cipher() override;
  void SetStatusText(const std::string& text) override;
  void StartProgress(std::uint64_t maximum) override;
  void FillProgress() override;
  void DisplayString(const std::string& text) override;
  BatchList& BatchRows() override;
  void BatchFinished(const BatchTally& tally) override;
  std::optional<std::string> MoveSourceToTrash(const std::string& path) override;

  JobControls m_Controls;
  QShortcut* m_CancelKey;
  std::unique_ptr<JobProgress> m_Progress;
  std::unique_ptr<cEncrypt> m_Rijndael;
  std::atomic<bool> m_CancelAsked = false;
  // The running file or batch job's, on the window's thread.
  JobRequest m_Request;
  std::unique_ptr<JobRows> m_Rows;
  std::unique_ptr<QThread> m_Worker;
  QList<QPointer<QObject>> m_RestingInputs;
  bool m_BatchTallyShown = false;
  // The job thread's own.
  QElapsedTimer m_FileClock;   // since the current file started
  QElapsedTimer m_ShownClock;  // since the figures were last sent to the window
  std::uint64_t m_FileBytes = 0;
};

}  // namespace lockvale
