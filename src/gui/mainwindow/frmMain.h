#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

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
class QStatusBar;
class QTreeWidget;

namespace lockvale {

class frmAbout;
class frmBrowse;
class JobController;
class ListController;

// The main window. It owns every input of a job and reads them into a request when Execute is
// pressed; the widgets carry the names below as their object names. The job controller runs the
// jobs, the list controller edits the batch list; the handlers below hand on to them.
class frmMain : public QMainWindow {
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
  void mnuFormat_Click(Format format);
  void Form_DragDrop(const QMimeData& data);

 protected:
  // Closing the window ends the program, together with any other window open; during a file job,
  // once the job has been cancelled and has stopped.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void BuildDetailsFrame();
  void BuildWindowControls();
  void SetTabOrder();
  void ConnectHandlers();
  JobMode Mode() const;
  void ApplyLayout(JobMode mode);
  void SwapFileNamesIfEncrypted(const QLineEdit* probe);
  void PresetFromCommandLine(const std::vector<std::string>& arguments);
  JobRequest ReadJobRequest() const;
  QList<QObject*> RestingInputs() const;  // the inputs that rest while a file job runs
  std::string PickFile(bool save, bool encryptedFiles);
  void ShowBrowse();
  void BuildCodePageMenu();
  void ApplyStoredCodePage();
  void ShowCodePage();
  void BuildFormatMenu();
  void ApplyStoredFormat();
  void ShowFormat(Format format);
  void ShowKeySize();
  void ReadFormat(JobRequest& request) const;
  bool DropWanted(const QMimeData& data) const;
  void DropFiles(const std::vector<std::string>& paths);

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

  QMenu *mnufile, *mnuOptions, *mnuCodePage, *mnuFormat, *mnuAbout;
  QAction *mnuExecute, *mnuSpace, *mnuExit, *mnuAboutApp, *mnuFormatCompatible, *mnuFormatSealed;
  QActionGroup* m_CodePages;

  QLabel* m_StatusPanel;
  QLabel* m_FiguresPanel;  // bytes, speed and time left; a batch's counts after it
  QLabel* m_CodePagePanel;
  QLabel* m_FormatPanel;  // names the sealed format while it is chosen
  bool m_QuitAfterJob = false;
  std::unique_ptr<ListController> m_List;
  JobController* m_Jobs;          // a child object
  frmBrowse* m_Browse = nullptr;  // a window of its own, owned by this one
  QPointer<frmAbout> m_AboutBox;  // null once closed, as it deletes itself
};

}  // namespace lockvale
