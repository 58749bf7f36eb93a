#pragma once

#include <QMainWindow>
#include <memory>

#include "mainwindow/WindowMode.h"

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

class cEncrypt;
class JobProgress;
class MessageBoxNotifier;

// The main window. It owns every input of a job; the jobs read its controls by the
// names below, which are also the widgets' object names.
class frmMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  WindowMode Mode() const;
  bool Encrypting() const;
  void FillSizeLists();

  // Created on first use and kept, key and all, for the life of the window.
  cEncrypt& Rijndael();
  JobProgress& Progress() { return *m_Progress; }
  // Shown at once: a job does not return to the event loop until it ends.
  void SetStatusText(const QString& text);
  QString StatusText() const;

  void optSingleFile_Click();
  void optMultipleFiles_Click();
  void optText_Click();
  void optEncrypt_Click();
  void optDecrypt_Click();
  void cmdEncryptFile_Click();
  void mnuExit_Click();

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

 protected:
  // Closing the window ends the program, together with any other window open.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildDetailsFrame();
  void BuildWindowControls();
  void ConnectHandlers();
  void ApplyLayout(WindowMode mode);
  void SwapFileNamesIfEncr(const QLineEdit* probe);

  QLabel* m_StatusPanel;
  std::unique_ptr<MessageBoxNotifier> m_Notifier;
  std::unique_ptr<cEncrypt> m_Rijndael;
  std::unique_ptr<JobProgress> m_Progress;
};

}  // namespace lockvale
