#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTreeWidget>

#include "browse/frmBrowse.h"
#include "mainwindow/JobController.h"
#include "mainwindow/ListController.h"
#include "startup/CommandLine.h"
#include "startup/ShellRegistration.h"
#include "startup/StartUp.h"
#include "support/ActiveFilePickers.h"
#include "support/ActiveMessageBoxes.h"
#include "support/ProgramIcon.h"
#include "support/Statement.h"
#include "support/frmAbout.h"
#include "util/ProgramNames.h"

namespace lockvale {

namespace {

// The text box holds its line breaks as paragraph and line separators; the text job
// takes them as CR LF, and every other character, no-break spaces included, as it is.
std::string RawText(const QPlainTextEdit* box) {
  QString text = box->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text.toStdString();
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Encrypt 1.0"));
  setWindowIcon(ProgramIcon());
  BuildControls();
  m_List = std::make_unique<ListController>(ListControls{txtFilename, txtDestFilename, chkOverwrite,
                                                         chkDeleteSourceFile, optEncrypt, cmdAdd,
                                                         cmdEdit, cmdRemove, cmdClear, lstEncrypt});
  m_Jobs = new JobController({this, cmdEncryptFile, mnuExecute, pbBar, m_StatusPanel,
                              m_FiguresPanel, txtEncrypt, &m_List->View()},
                             this);
  ConnectHandlers();
  // Drops anywhere on the window go to the window, not into the name and key boxes.
  setAcceptDrops(true);
  for (QWidget* box : {txtFilename, txtDestFilename, txtPassword})
    box->setAcceptDrops(false);
  txtEncrypt->viewport()->installEventFilter(this);
  SetMessageBoxOwner(this);
  SetFilePickerOwner(this);
  ApplyLayout(JobMode::SingleFile);
}

frmMain::~frmMain() = default;

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  // The text box takes dropped text itself; dropped files are not text.
  if (watched == txtEncrypt->viewport() &&
      (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
       event->type() == QEvent::Drop)) {
    const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
    if (m_Jobs->Running() || data->hasUrls()) {
      event->ignore();
      return true;
    }
  }
  if (watched == txtEncrypt && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
      txtEncrypt->insertPlainText(QStringLiteral("\t"));
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmMain::ConnectHandlers() {
  connect(optSingleFile, &QRadioButton::toggled, this, &frmMain::optSingleFile_Click);
  connect(optMultipleFiles, &QRadioButton::toggled, this, &frmMain::optMultipleFiles_Click);
  connect(optText, &QRadioButton::toggled, this, &frmMain::optText_Click);
  connect(optEncrypt, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optEncrypt_Click();
  });
  connect(optDecrypt, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optDecrypt_Click();
  });
  connect(cmdEncryptFile, &QPushButton::clicked, this, &frmMain::cmdEncryptFile_Click);
  connect(mnuExecute, &QAction::triggered, this, &frmMain::cmdEncryptFile_Click);
  connect(mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);
  connect(mnuAboutApp, &QAction::triggered, this, &frmMain::mnuAboutApp_Click);
  connect(cmdAdd, &QPushButton::clicked, this, &frmMain::cmdAdd_Click);
  connect(cmdEdit, &QPushButton::clicked, this, &frmMain::cmdEdit_Click);
  connect(cmdRemove, &QPushButton::clicked, this, &frmMain::cmdRemove_Click);
  connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
  connect(lstEncrypt, &QTreeWidget::itemClicked, this, &frmMain::lstEncrypt_Click);
  connect(cmdSourceBrowse, &QPushButton::clicked, this, &frmMain::cmdSourceBrowse_Click);
  connect(cmdDestBrowse, &QPushButton::clicked, this, &frmMain::cmdDestBrowse_Click);
  // A close asked for during a job waits for its end.
  connect(m_Jobs, &JobController::Ended, this, [this] {
    if (m_QuitAfterJob) close();
  });
}

bool frmMain::Form_Initialize() {
  std::vector<std::string> arguments;
  for (const QString& argument : QCoreApplication::arguments().mid(1))
    arguments.push_back(argument.toStdString());
  return Form_Initialize(arguments, QCoreApplication::applicationFilePath().toStdString());
}

bool frmMain::Form_Initialize(const std::vector<std::string>& arguments,
                              const std::string& programPath) {
  bool goOn = true;
  LV_GUARD("Form_Initialize", [&] {
    // Whatever an earlier start registered may point at a program that has moved since.
    LV_STMT(WriteShellRegistration(programPath));
    LV_STMT(ApplyStoredFormat());  // before the preset, whose result it names
    LV_STMT(PresetFromCommandLine(arguments));
    LV_STMT(ApplyStoredCodePage());
    goOn = LV_STMT(StartUp(*mnuAboutApp, this));
    if (!goOn) return;
    LV_STMT(setWindowTitle(QLatin1String(AppName) + u' ' + QLatin1String(CurrentVersion)));
    LV_STMT(FillSizeLists());
    LV_STMT(optSingleFile_Click());
  });
  return goOn;
}

// The mode stays Single file, so the preset names are the single-file job's, run when the user
// presses Execute. The direction is set first, so that its swap of the names finds none.
void frmMain::PresetFromCommandLine(const std::vector<std::string>& arguments) {
  const std::optional<FilePreset> preset =
      lockvale::PresetFromCommandLine(arguments, m_List->WritingFormat());
  if (!preset) return;
  (preset->decrypt ? optDecrypt : optEncrypt)->setChecked(true);
  txtFilename->setText(QString::fromStdString(preset->source));
  txtDestFilename->setText(QString::fromStdString(preset->destination));
}

void frmMain::FillSizeLists() {
  LV_GUARD("FillSizeLists", [&] {
    cboKeySize->clear();
    for (int bits : {128, 192, 256})
      cboKeySize->addItem(QStringLiteral("%1 Bit").arg(bits), bits);
    cboKeySize->setCurrentIndex(0);
    cboBlockSize->clear();
    cboBlockSize->addItem(QStringLiteral("128 Bit"), 128);
    cboBlockSize->setCurrentIndex(0);
  });
}

JobMode frmMain::Mode() const {
  if (optMultipleFiles->isChecked()) return JobMode::MultipleFiles;
  if (optText->isChecked()) return JobMode::Text;
  return JobMode::SingleFile;
}

void frmMain::optSingleFile_Click() {
  LV_GUARD("optSingleFile_Click", [&] {
    if (optSingleFile->isChecked()) ApplyLayout(JobMode::SingleFile);
  });
}

void frmMain::optMultipleFiles_Click() {
  LV_GUARD("optMultipleFiles_Click", [&] {
    if (optMultipleFiles->isChecked()) ApplyLayout(JobMode::MultipleFiles);
  });
}

void frmMain::optText_Click() {
  LV_GUARD("optText_Click", [&] {
    if (optText->isChecked()) ApplyLayout(JobMode::Text);
  });
}

void frmMain::optEncrypt_Click() {
  LV_GUARD("optEncrypt_Click", [&] {
    if (Mode() == JobMode::MultipleFiles) m_List->ClearBatchList();
    if (Mode() == JobMode::SingleFile) SwapFileNamesIfEncrypted(txtFilename);
    ShowKeySize();
  });
}

void frmMain::optDecrypt_Click() {
  LV_GUARD("optDecrypt_Click", [&] {
    if (Mode() == JobMode::MultipleFiles) m_List->ClearBatchList();
    if (Mode() == JobMode::SingleFile) SwapFileNamesIfEncrypted(txtDestFilename);
    ShowKeySize();
  });
}

void frmMain::SwapFileNamesIfEncrypted(const QLineEdit* probe) {
  if (!probe->text().contains(QStringLiteral(".encr"), Qt::CaseSensitive) &&
      !probe->text().contains(QStringLiteral(".lkv"), Qt::CaseSensitive))
    return;
  const QString source = txtFilename->text();
  txtFilename->setText(txtDestFilename->text());
  txtDestFilename->setText(source);
}

void frmMain::cmdEncryptFile_Click() {
  if (m_Jobs->Running()) {
    m_Jobs->Cancel();
    return;
  }
  LV_GUARD("cmdEncryptFile_Click", [&] { m_Jobs->Run(ReadJobRequest(), RestingInputs()); });
}

JobRequest frmMain::ReadJobRequest() const {
  JobRequest request;
  request.mode = Mode();
  request.direction = optEncrypt->isChecked() ? Direction::Encrypt : Direction::Decrypt;
  request.source = txtFilename->text().toStdString();
  request.destination = txtDestFilename->text().toStdString();
  if (request.mode == JobMode::Text) request.text = RawText(txtEncrypt);
  QByteArray key = txtPassword->text().toUtf8();
  request.keyText = SecretText(std::string_view(key.constData(), key.size()));
  std::fill(key.begin(), key.end(), '\0');
  request.keyBits = cboKeySize->currentData().toInt();
  request.blockBits = cboBlockSize->currentData().toInt();
  ReadFormat(request);
  request.overwrite = chkOverwrite->isChecked();
  request.deleteSource = chkDeleteSourceFile->isChecked();
  return request;
}

QList<QObject*> frmMain::RestingInputs() const {
  QList<QObject*> inputs{fraDetails, optEncrypt, optDecrypt, txtEncrypt, lstEncrypt,
                         cmdAdd,     cmdEdit,    cmdRemove,  cmdClear,   m_Browse};
  return inputs << mnuOptions->menuAction();
}

void frmMain::mnuExit_Click() {
  LV_GUARD("mnuExit_Click", [&] { close(); });
}

void frmMain::mnuAboutApp_Click() {
  LV_GUARD("mnuAboutApp_Click", [&] {
    if (!m_AboutBox) m_AboutBox = new frmAbout(this);
    m_AboutBox->show();
    m_AboutBox->raise();
    m_AboutBox->activateWindow();
  });
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (m_Jobs->Running()) {
    // The job is stopped first, so that it leaves no unfinished output; then the window closes.
    m_QuitAfterJob = true;
    m_Jobs->Cancel();
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
  QApplication::quit();
}

void frmMain::cmdAdd_Click() {
  LV_GUARD("cmdAdd_Click", [&] { m_List->cmdAdd_Click(); });
}

void frmMain::cmdEdit_Click() {
  LV_GUARD("cmdEdit_Click", [&] { m_List->cmdEdit_Click(); });
}

void frmMain::cmdRemove_Click() {
  LV_GUARD("cmdRemove_Click", [&] { m_List->cmdRemove_Click(); });
}

void frmMain::cmdClear_Click() {
  LV_GUARD("cmdClear_Click", [&] { m_List->cmdClear_Click(); });
}

void frmMain::lstEncrypt_Click() {
  LV_GUARD("lstEncrypt_Click", [&] { m_List->lstEncrypt_Click(); });
}

QString frmMain::StatusText() const {
  return m_StatusPanel->text();
}

}  // namespace lockvale
