#pragma once

#include <QMainWindow>
#include <memory>

#include "fileselect/BrowseTarget.h"
#include "jobs/JobHost.h"
#include "jobs/JobRequest.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTreeWidget;

namespace lockvale {

class BatchListView;
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

 protected:
  // Closing the window ends the program, together with any other window open.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

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

  // JobHost: the jobs report through the window.
  MessageBoxes& Boxes() override;
  cEncrypt& Cipher() override;
  // Shown at once: a job does not return to the event loop until it ends.
  void SetStatusText(const std::string& text) override;
  void StartProgress(std::uint64_t maximum) override;
  void FillProgress() override;
  void DisplayString(const std::string& text) override;
  BatchList& BatchRows() override;

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

  QMenu *mnufile, *mnuAbout;
  QAction *mnuExecute, *mnuSpace, *mnuExit, *mnuAboutApp;

  QLabel* m_StatusPanel;
  std::unique_ptr<Notifier> m_Notifier;
  std::unique_ptr<cEncrypt> m_Rijndael;
  std::unique_ptr<JobProgress> m_Progress;
  std::unique_ptr<BatchListView> m_Batch;
  frmBrowse* m_Browse = nullptr;  // a window of its own, owned by this one
};

}  // namespace lockvale
