#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <atomic>
#include <memory>

#include "browse/BrowseTarget.h"
#include "jobs/JobHost.h"
#include "jobs/JobRequest.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QMimeData;
class QRadioButton;
class QShortcut;
class QStatusBar;
class QTreeWidget;

namespace lockvale {

class BatchListView;
class frmAbout;
class frmBrowse;
class JobProgress;

// The main window. It owns every input of a job and reads them into a request when
// Execute is pressed; the widgets carry the names below as their object names.
class frmMain : public QMainWindow, private JobHost, private BrowseTarget {
  Q_OBJECT

 public:
  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  // Runs once at start, before the window is shown: registers the program with the desktop,
  // takes a file from the command line, runs the start-up notices, and sets the title, the size
  // lists and the layout. False when the program is to end.
  bool Form_Initialize();
  bool Form_Initialize(const std::vector<std::string>& arguments, const std::string& programPath);

  void FillSizeLists();
  QString StatusText() const;

  void optSingleFile_Click();
  void optMultipleFiles_Click();
  void optText_Click();
  void optEncrypt_Click();
  void optDecrypt_Click();
  void cmdEncryptFile_Click();
  void mnuExit_Click();
  void mnuAboutApp_Click();
  void cmdAdd_Click();
  void cmdEdit_Click();
  void cmdRemove_Click();
  void cmdClear_Click();
  void lstEncrypt_Click();
  void cmdSourceBrowse_Click();
  void cmdDestBrowse_Click();
  // `name` "" is the system's code page.
  void mnuCodePage_Click(const std::string& name);
  void Form_DragDrop(const QMimeData& data);

 protected:
  // Closing the window ends the program, together with any other window open.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void BuildDetailsFrame();
  void BuildWindowControls();
  void SetTabOrder();
  void ConnectHandlers();
  JobMode Mode() const;
  void ApplyLayout(JobMode mode);
  void SwapFileNamesIfEncr(const QLineEdit* probe);
  void PresetFromCommandLine(const std::vector<std::string>& arguments);
  JobRequest ReadJobRequest() const;
  std::string PickFile(bool save, bool encryptedFiles);
  void ShowBrowse();
  void BuildCodePageMenu();
  void ApplyStoredCodePage();
  void ShowCodePage();
  bool DropWanted(const QMimeData& data) const;
  void DropFiles(const std::vector<std::string>& paths);

  // A file or batch job runs with the inputs disabled and Execute turned into Cancel; the
  // window handles its events from the cipher's progress reports meanwhile.
  void RunCancellableJob(const JobRequest& request);
  void SetInputsEnabled(bool enabled);
  void OnCipherProgress(std::uint64_t offset);

  // JobHost: the jobs report through the window.
  MessageBoxes& Boxes() override;
  cEncrypt& Cipher() override;
  // Shown at once: a job does not return to the event loop until it ends.
  void SetStatusText(const std::string& text) override;
  void StartProgress(std::uint64_t maximum) override;
  void FillProgress() override;
  void DisplayString(const std::string& text) override;
  BatchList& BatchRows() override;
  void BatchFinished(const BatchTally& tally) override;
  std::optional<std::string> MoveSourceToTrash(const std::string& path) override;

  // BrowseTarget: what the browse dialog reads and fills in.
  bool Encrypting() const override;
  void SetSourceAndDestination(const std::string& source, const std::string& destination) override;
  void SetFileFlags(bool overwrite, bool deleteSource) override;
  bool HasSourceName() const override;
  int BatchRowCount() const override;
  void ClearBatchList() override;
  void AppendBatchRows(const std::vector<BatchEntry>& rows) override;
  void EnableListButtons(bool clear, bool add) override;
  BatchEntry EntryFromInputs() const;

  QGroupBox* fraDetails;
  QRadioButton *optSingleFile, *optMultipleFiles, *optText;
  QLabel *lblSourceFilename, *lblDestinationFilename, *lblTexttoEncrypt;
  QLineEdit *txtFilename, *txtDestFilename;
  QPushButton *cmdSourceBrowse, *cmdDestBrowse;
  QLabel *lblKey, *lblBlockSize, *lblKeySize;
  QLineEdit* txtPassword;
  QComboBox *cboBlockSize, *cboKeySize;
  QCheckBox *chkOverwrite, *chkDeleteSourceFile;

  QPlainTextEdit* txtEncrypt;
  QPushButton* cmdEncryptFile;
  QRadioButton *optEncrypt, *optDecrypt;
  QProgressBar* pbBar;
  QPushButton *cmdAdd, *cmdEdit, *cmdRemove, *cmdClear;
  QTreeWidget* lstEncrypt;
  QStatusBar* Status;

  QMenu *mnufile, *mnuOptions, *mnuCodePage, *mnuAbout;
  QAction *mnuExecute, *mnuSpace, *mnuExit, *mnuAboutApp;
  QActionGroup* m_CodePages;

  QLabel* m_StatusPanel;
  QLabel* m_FiguresPanel;  // bytes, speed and time left; a batch's counts after it
  QLabel* m_CodePagePanel;
  QShortcut* m_CancelKey;
  QList<QPointer<QObject>> m_RestingInputs;  // disabled for the job that runs
  bool m_JobRunning = false;
  std::atomic<bool> m_CancelRequested = false;  // read by the cipher, which stops the job
  bool m_QuitAfterJob = false;
  bool m_BatchTallyShown = false;
  QElapsedTimer m_FileClock;    // since the current file started
  QElapsedTimer m_EventsClock;  // since the window last handled its events during a job
  std::uint64_t m_FileBytes = 0;
  std::unique_ptr<cEncrypt> m_Rijndael;
  std::unique_ptr<JobProgress> m_Progress;
  std::unique_ptr<BatchListView> m_Batch;
  frmBrowse* m_Browse = nullptr;  // a window of its own, owned by this one
  QPointer<frmAbout> m_AboutBox;  // null once closed, as it deletes itself
};

}  // namespace lockvale
