#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTextDocument>
#include <QTreeWidget>

#include "format/cEncrypt.h"
#include "jobs/JobRunner.h"
#include "mainwindow/BatchListView.h"
#include "mainwindow/JobProgress.h"
#include "mainwindow/ModeLayout.h"
#include "mainwindow/Twips.h"
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

constexpr int kClientWidth = 17265;
constexpr int kFrameTop = 120;
// Title bar and borders: the outer heights of the layout table include them.
constexpr int kNonClientHeight = 450;
constexpr int kTextBoxHeight = 315;
constexpr int kLabelHeight = 255;
constexpr int kButtonHeight = 375;

// The positions are fixed, so the captions need a narrow face; Liberation Sans has
// the metrics of the one the window's layout assumes.
QFont WindowFont() {
  QFont font;
  font.setFamilies(
      {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
  font.setPointSize(8);
  return font;
}

template <typename Widget>
Widget* Make(QWidget* parent, const char* name, const QString& caption = {}) {
  auto* widget = new Widget(parent);
  widget->setObjectName(QString::fromLatin1(name));
  if constexpr (requires { widget->setText(caption); }) {
    if (!caption.isEmpty()) widget->setText(caption);
  }
  return widget;
}

using Widgets = std::initializer_list<QWidget*>;

void Place(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

void MoveTop(QWidget* widget, int top) {
  widget->move(widget->x(), Px(top));
}

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
  setFont(WindowFont());
  setCentralWidget(new QWidget(this));
  BuildMenus();
  BuildDetailsFrame();
  BuildWindowControls();
  SetTabOrder();
  m_Progress = std::make_unique<JobProgress>(pbBar);
  ConnectHandlers();
  // Drops anywhere on the window go to the window, not into the name and key boxes.
  setAcceptDrops(true);
  for (QWidget* box : Widgets{txtFilename, txtDestFilename, txtPassword})
    box->setAcceptDrops(false);
  txtEncrypt->viewport()->installEventFilter(this);
  m_CancelKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  m_CancelKey->setEnabled(false);
  connect(m_CancelKey, &QShortcut::activated, this, [this] { m_CancelRequested = true; });
  SetMessageBoxOwner(this);
  SetFilePickerOwner(this);
  ApplyLayout(JobMode::SingleFile);
}

frmMain::~frmMain() = default;

void frmMain::BuildMenus() {
  mnufile = menuBar()->addMenu(QStringLiteral("&File"));
  mnufile->setObjectName(QStringLiteral("mnufile"));
  mnuExecute = mnufile->addAction(QStringLiteral("&Execute"));
  mnuExecute->setObjectName(QStringLiteral("mnuExecute"));
  mnuSpace = mnufile->addSeparator();
  mnuSpace->setObjectName(QStringLiteral("mnuSpace"));
  mnuExit = mnufile->addAction(QStringLiteral("E&xit"));
  mnuExit->setObjectName(QStringLiteral("mnuExit"));
  BuildCodePageMenu();
  mnuAbout = menuBar()->addMenu(QStringLiteral("&About"));
  mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
  mnuAboutApp = mnuAbout->addAction(QString());
  mnuAboutApp->setObjectName(QStringLiteral("mnuAboutApp"));
  // Menus are windows of their own and would otherwise take the desktop's font.
  for (QWidget* menu : Widgets{menuBar(), mnufile, mnuOptions, mnuCodePage, mnuAbout})
    menu->setFont(WindowFont());
}

void frmMain::BuildDetailsFrame() {
  fraDetails = Make<QGroupBox>(centralWidget(), "fraDetails");
  fraDetails->setTitle(QStringLiteral("Details:"));
  QWidget* f = fraDetails;

  optSingleFile = Make<QRadioButton>(f, "optSingleFile", QStringLiteral("Single file"));
  optMultipleFiles = Make<QRadioButton>(f, "optMultipleFiles", QStringLiteral("Multiple files"));
  optText = Make<QRadioButton>(f, "optText", QStringLiteral("Text"));
  Place(optSingleFile, 120, 360, 1200, kLabelHeight);
  Place(optMultipleFiles, 1320, 360, 1320, kLabelHeight);
  Place(optText, 2640, 360, 1200, kLabelHeight);
  optSingleFile->setChecked(true);
  // Explicit groups: Qt's automatic exclusivity also reaches into nested frames.
  auto* modes = new QButtonGroup(this);
  for (QRadioButton* option : {optSingleFile, optMultipleFiles, optText})
    modes->addButton(option);

  lblSourceFilename = Make<QLabel>(f, "lblSourceFilename", QStringLiteral("Source Filename:"));
  txtFilename = Make<QLineEdit>(f, "txtFilename");
  lblDestinationFilename =
      Make<QLabel>(f, "lblDestinationFilename", QStringLiteral("Destination Filename:"));
  txtDestFilename = Make<QLineEdit>(f, "txtDestFilename");
  cmdSourceBrowse = Make<QPushButton>(f, "cmdSourceBrowse", QStringLiteral("Browse"));
  cmdDestBrowse = Make<QPushButton>(f, "cmdDestBrowse", QStringLiteral("Browse"));
  Place(lblSourceFilename, 120, 840, 1800, kTextBoxHeight);
  Place(txtFilename, 1920, 840, 12975, kTextBoxHeight);
  Place(lblDestinationFilename, 120, 1320, 1800, kTextBoxHeight);
  Place(txtDestFilename, 1920, 1320, 12975, kTextBoxHeight);
  Place(cmdSourceBrowse, 15120, 720, 1215, kButtonHeight);
  Place(cmdDestBrowse, 15120, 1200, 1215, kButtonHeight);

  lblTexttoEncrypt = Make<QLabel>(f, "lblTexttoEncrypt", QStringLiteral("Text to encrypt/decrypt"));
  Place(lblTexttoEncrypt, 120, 840, 4000, kTextBoxHeight);

  lblKey = Make<QLabel>(f, "lblKey", QStringLiteral("Key:"));
  txtPassword = Make<QLineEdit>(f, "txtPassword");
  txtPassword->setToolTip(QStringLiteral("Encryption Key"));
  lblBlockSize = Make<QLabel>(f, "lblBlockSize", QStringLiteral("Block Size:"));
  cboBlockSize = Make<QComboBox>(f, "cboBlockSize");
  cboBlockSize->setEnabled(false);
  lblKeySize = Make<QLabel>(f, "lblKeySize", QStringLiteral("Key Size:"));
  cboKeySize = Make<QComboBox>(f, "cboKeySize");
  Place(lblKey, 120, 1680, 1800, kTextBoxHeight);
  Place(txtPassword, 1920, 1680, 4935, kTextBoxHeight);
  Place(lblBlockSize, 120, 2040, 1800, kTextBoxHeight);
  Place(cboBlockSize, 1920, 2040, 1695, kTextBoxHeight);
  Place(lblKeySize, 120, 2400, 1800, kTextBoxHeight);
  Place(cboKeySize, 1920, 2400, 1695, kTextBoxHeight);

  chkOverwrite = Make<QCheckBox>(f, "chkOverwrite", QStringLiteral("Overwrite file"));
  chkDeleteSourceFile =
      Make<QCheckBox>(f, "chkDeleteSourceFile", QStringLiteral("Delete source file"));
  Place(chkOverwrite, 120, 2880, 1800, kLabelHeight);
  Place(chkDeleteSourceFile, 1920, 2880, 2400, kLabelHeight);
}

void frmMain::BuildWindowControls() {
  QWidget* w = centralWidget();
  txtEncrypt = Make<QPlainTextEdit>(w, "txtEncrypt");
  Place(txtEncrypt, 240, 1320, 14775, 1455);
  // Tab moves on, as in the rest of the form; Ctrl+Tab types a tab (see eventFilter).
  txtEncrypt->setTabChangesFocus(true);
  txtEncrypt->installEventFilter(this);

  cmdEncryptFile = Make<QPushButton>(w, "cmdEncryptFile", QStringLiteral("Execute"));
  optEncrypt = Make<QRadioButton>(w, "optEncrypt", QStringLiteral("Encrypt File"));
  optDecrypt = Make<QRadioButton>(w, "optDecrypt", QStringLiteral("Decrypt File"));
  pbBar = Make<QProgressBar>(w, "pbBar");
  Place(cmdEncryptFile, 120, 3600, 1215, kButtonHeight);
  Place(optEncrypt, 1440, 3600, 1320, kButtonHeight);
  Place(optDecrypt, 2760, 3600, 1380, kButtonHeight);
  Place(pbBar, 4200, 3600, 12495, kButtonHeight);
  optEncrypt->setChecked(true);
  auto* directions = new QButtonGroup(this);
  directions->addButton(optEncrypt);
  directions->addButton(optDecrypt);
  pbBar->setTextVisible(false);
  pbBar->setRange(0, 100);
  pbBar->setValue(0);

  cmdAdd = Make<QPushButton>(w, "cmdAdd", QStringLiteral("Add"));
  cmdEdit = Make<QPushButton>(w, "cmdEdit", QStringLiteral("Edit"));
  cmdRemove = Make<QPushButton>(w, "cmdRemove", QStringLiteral("Remove"));
  cmdClear = Make<QPushButton>(w, "cmdClear", QStringLiteral("Clear list"));
  Place(cmdAdd, 120, 3600, 1215, kButtonHeight);
  Place(cmdEdit, 1440, 3600, 1455, kButtonHeight);
  Place(cmdRemove, 3000, 3600, 1215, kButtonHeight);
  Place(cmdClear, 4320, 3600, 1455, kButtonHeight);
  for (QPushButton* button : {cmdAdd, cmdEdit, cmdRemove, cmdClear})
    button->setEnabled(false);

  lstEncrypt = Make<QTreeWidget>(w, "lstEncrypt");
  lstEncrypt->setRootIsDecorated(false);
  lstEncrypt->setHeaderLabels({QStringLiteral("Source Filename"),
                               QStringLiteral("Destination Filename"), QStringLiteral("Overwrite"),
                               QStringLiteral("Delete source files")});
  Place(lstEncrypt, 120, 4080, 16575, 2775);
  m_Batch = std::make_unique<BatchListView>(lstEncrypt);
  lstEncrypt->header()->resizeSection(0, Px(6600));
  lstEncrypt->header()->resizeSection(1, Px(6600));

  Status = statusBar();
  Status->setObjectName(QStringLiteral("Status"));
  Status->setSizeGripEnabled(false);
  // A panel of its own rather than a temporary message, which menu hovering would wipe.
  m_StatusPanel = Make<QLabel>(Status, "StatusPanel");
  Status->addWidget(m_StatusPanel, 1);
  m_FiguresPanel = Make<QLabel>(Status, "FiguresPanel");
  Status->addWidget(m_FiguresPanel, 1);
  m_CodePagePanel = Make<QLabel>(Status, "CodePagePanel");
  Status->addPermanentWidget(m_CodePagePanel);
  ShowCodePage();
}

// Keyboard order follows what the eye sees: the mode, the names or the text, the key
// and its sizes, the options, the batch list, then Execute and the direction.
void frmMain::SetTabOrder() {
  QWidget* const order[] = {optSingleFile,       optMultipleFiles, optText,
                            txtFilename,         cmdSourceBrowse,  txtDestFilename,
                            cmdDestBrowse,       txtEncrypt,       txtPassword,
                            cboBlockSize,        cboKeySize,       chkOverwrite,
                            chkDeleteSourceFile, cmdAdd,           cmdEdit,
                            cmdRemove,           cmdClear,         lstEncrypt,
                            cmdEncryptFile,      optEncrypt,       optDecrypt};
  for (std::size_t i = 1; i < std::size(order); ++i)
    setTabOrder(order[i - 1], order[i]);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  // The text box takes dropped text itself; dropped files are not text.
  if (watched == txtEncrypt->viewport() &&
      (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
       event->type() == QEvent::Drop)) {
    const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
    if (m_JobRunning || data->hasUrls()) {
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
  const std::optional<FilePreset> preset = lockvale::PresetFromCommandLine(arguments);
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

void frmMain::ApplyLayout(JobMode mode) {
  const ModeLayout& layout = LayoutFor(mode);
  for (QWidget* widget :
       Widgets{lblSourceFilename, txtFilename, lblDestinationFilename, txtDestFilename,
               cmdSourceBrowse, cmdDestBrowse, chkOverwrite, chkDeleteSourceFile})
    widget->setVisible(layout.filesShown);
  lblTexttoEncrypt->setVisible(!layout.filesShown);
  txtEncrypt->setVisible(!layout.filesShown);
  for (QWidget* widget : Widgets{cmdAdd, cmdEdit, cmdRemove, cmdClear, lstEncrypt})
    widget->setVisible(layout.batchListShown);

  MoveTop(lblKey, layout.keyTop);
  MoveTop(txtPassword, layout.keyTop);
  MoveTop(lblBlockSize, layout.blockSizeTop);
  MoveTop(cboBlockSize, layout.blockSizeTop);
  MoveTop(lblKeySize, layout.keySizeTop);
  MoveTop(cboKeySize, layout.keySizeTop);
  for (QWidget* widget : Widgets{cmdEncryptFile, optEncrypt, optDecrypt, pbBar})
    MoveTop(widget, layout.executeRowTop);

  Place(fraDetails, 120, kFrameTop, 16575, layout.frameHeight);
  optEncrypt->setText(QString::fromLatin1(layout.encryptCaption));
  optDecrypt->setText(QString::fromLatin1(layout.decryptCaption));
  resize(Px(kClientWidth), Px(layout.windowOuterHeight - kNonClientHeight));
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
    if (Mode() == JobMode::MultipleFiles) m_Batch->Clear();
    if (Mode() == JobMode::SingleFile) SwapFileNamesIfEncr(txtFilename);
  });
}

void frmMain::optDecrypt_Click() {
  LV_GUARD("optDecrypt_Click", [&] {
    if (Mode() == JobMode::MultipleFiles) m_Batch->Clear();
    if (Mode() == JobMode::SingleFile) SwapFileNamesIfEncr(txtDestFilename);
  });
}

void frmMain::SwapFileNamesIfEncr(const QLineEdit* probe) {
  if (!probe->text().contains(QStringLiteral(".encr"), Qt::CaseSensitive)) return;
  const QString source = txtFilename->text();
  txtFilename->setText(txtDestFilename->text());
  txtDestFilename->setText(source);
}

void frmMain::cmdEncryptFile_Click() {
  if (m_JobRunning) {
    m_CancelRequested = true;
    return;
  }
  LV_GUARD("cmdEncryptFile_Click", [&] {
    const JobRequest request = ReadJobRequest();
    // A text job is over in a moment and leaves no file behind to stop.
    if (request.mode == JobMode::Text)
      RunJob(request, *this);
    else
      RunCancellableJob(request);
  });
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
  request.overwrite = chkOverwrite->isChecked();
  request.deleteSource = chkDeleteSourceFile->isChecked();
  return request;
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
  if (m_JobRunning) {
    // The job is stopped first, so that it leaves no unfinished output; then the window closes.
    m_CancelRequested = m_QuitAfterJob = true;
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
  QApplication::quit();
}

MessageBoxes& frmMain::Boxes() {
  return ActiveMessageBoxes();
}

cEncrypt& frmMain::Cipher() {
  if (!m_Rijndael) {
    m_Rijndael = std::make_unique<cEncrypt>();
    m_Rijndael->SetProgressCallback([this](std::uint64_t offset) { OnCipherProgress(offset); },
                                    &m_CancelRequested);
  }
  return *m_Rijndael;
}

void frmMain::SetStatusText(const std::string& text) {
  m_StatusPanel->setText(QString::fromStdString(text));
  m_StatusPanel->repaint();
}

void frmMain::StartProgress(std::uint64_t maximum) {
  m_Progress->Start(maximum);
  // The file jobs count one more than the file's bytes, so that an empty file has a bar.
  m_FileBytes = maximum > 0 ? maximum - 1 : 0;
  m_FileClock.start();
}

void frmMain::FillProgress() {
  m_Progress->Fill();
}

void frmMain::DisplayString(const std::string& text) {
  txtEncrypt->setPlainText(QString::fromStdString(text));
}

QString frmMain::StatusText() const {
  return m_StatusPanel->text();
}

}  // namespace lockvale
