// The main window's widgets, at the fixed places of the layout table (in twips), and what each
// mode shows of them and where.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTreeWidget>

#include "mainwindow/ModeLayout.h"
#include "mainwindow/Twips.h"
#include "mainwindow/frmMain.h"

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

}  // namespace

void frmMain::BuildControls() {
  setFont(WindowFont());
  setCentralWidget(new QWidget(this));
  BuildMenus();
  BuildDetailsFrame();
  BuildWindowControls();
  SetTabOrder();
}

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
  BuildFormatMenu();
  mnuAbout = menuBar()->addMenu(QStringLiteral("&About"));
  mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
  mnuAboutApp = mnuAbout->addAction(QString());
  mnuAboutApp->setObjectName(QStringLiteral("mnuAboutApp"));
  // Menus are windows of their own and would otherwise take the desktop's font.
  for (QWidget* menu : Widgets{menuBar(), mnufile, mnuOptions, mnuCodePage, mnuFormat, mnuAbout})
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
  m_FormatPanel = Make<QLabel>(Status, "FormatPanel");
  Status->addPermanentWidget(m_FormatPanel);
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

}  // namespace lockvale
