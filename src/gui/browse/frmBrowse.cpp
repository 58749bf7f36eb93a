#include "browse/frmBrowse.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

#include "browse/FileDialogs.h"
#include "find/clsFileFind.h"
#include "support/ActiveFilePickers.h"
#include "support/ActiveMessageBoxes.h"
#include "support/ModError.h"
#include "support/Statement.h"
#include "support/StatementTable.h"

namespace lockvale {

namespace {

template <typename Widget>
Widget* Make(QWidget* parent, const char* name, const QString& caption) {
  auto* widget = new Widget(caption, parent);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// The finder walks on past an error; each one is reported once the search is over.
class SearchListener : public FileFindListener {
 public:
  void CurrentFolder(const std::string&) override {}
  void Finished(std::size_t, clsFileFind::Result&) override {}
  void RunTimeError(const std::string& operation, const std::string& description) override {
    errors.push_back(QString::fromStdString(operation + " - " + description));
  }

  std::vector<QString> errors;
};

}  // namespace

void NoticeUnsearched(const std::vector<UnsearchedFolder>& unsearched) {
  if (unsearched.empty()) return;
  const std::size_t count = unsearched.size();
  std::string text =
      std::to_string(count) + (count == 1 ? " folder" : " folders") + " could not be searched: ";
  for (std::size_t i = 0; i < std::min<std::size_t>(count, 3); ++i)
    text += (i > 0 ? ", " : "") + unsearched[i].folder;
  ActiveMessageBoxes().Notice(text, "Browse", NoticeIcon::Exclamation);
}

// A folder search as the worker runs it, with the choices read before it started.
struct frmBrowse::FolderSearch {
  std::string folder;
  bool subFolders = false;
  bool encrypting = true;
  Format format = Format::Encr;
  bool overwrite = false, deleteSource = false;
  std::vector<std::string> found;
  clsFileFind finder{found};
  SearchListener listener;
  int statement = 0;     // the one the errors are reported against
  bool stopped = false;  // by a close, on the window's thread

  void Run() {
    finder.SetListener(&listener);
    // The finder's errors are errors of the search statement, the next line.
    statement = StatementNumber(__FILE__, __LINE__ + 1);
    LV_STMT(finder.SearchFile(folder, subFolders, false));
  }
};

frmBrowse::frmBrowse(BrowseTarget& target, QWidget* owner)
    : QWidget(owner, Qt::Dialog), m_Target(target) {
  setObjectName(QStringLiteral("frmBrowse"));
  setWindowTitle(QStringLiteral("Browse"));
  if (owner != nullptr) {
    setWindowIcon(owner->windowIcon());
    setFont(owner->font());  // a window of its own does not take its owner's font by itself
  }
  BuildControls();
  ConnectHandlers();
  ApplyInitialState();
}

// The search never waits for the window, so it can be waited for.
frmBrowse::~frmBrowse() {
  if (m_Search) m_Search->finder.StopSearch();
  if (m_SearchThread) m_SearchThread->wait();
}

void frmBrowse::BuildControls() {
  fraAction = new QGroupBox(this);
  fraAction->setObjectName(QStringLiteral("fraAction"));
  optFile = Make<QRadioButton>(fraAction, "optFile", QStringLiteral("File"));
  optFolder = Make<QRadioButton>(fraAction, "optFolder", QStringLiteral("Folder"));
  auto* options = new QHBoxLayout(fraAction);
  options->addWidget(optFile);
  options->addWidget(optFolder);

  chkSubFolders = Make<QCheckBox>(this, "chkSubFolders", QStringLiteral("Sub folders"));
  chkOverwrite = Make<QCheckBox>(this, "chkOverwrite", QStringLiteral("Overwrite"));
  chkDeleteSourceFiles =
      Make<QCheckBox>(this, "chkDeleteSourceFiles", QStringLiteral("Delete Source file"));
  cmdBrowse = Make<QPushButton>(this, "cmdBrowse", QStringLiteral("OK"));
  cmdCancel = Make<QPushButton>(this, "cmdCancel", QStringLiteral("Cancel"));

  auto* choices = new QVBoxLayout;
  for (QWidget* widget :
       {static_cast<QWidget*>(fraAction), static_cast<QWidget*>(chkSubFolders),
        static_cast<QWidget*>(chkOverwrite), static_cast<QWidget*>(chkDeleteSourceFiles)})
    choices->addWidget(widget);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdBrowse);
  buttons->addWidget(cmdCancel);
  buttons->addStretch();
  auto* window = new QHBoxLayout(this);
  window->addLayout(choices);
  window->addLayout(buttons);
  window->setSizeConstraint(QLayout::SetFixedSize);
}

void frmBrowse::ConnectHandlers() {
  connect(optFile, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optFile_Click();
  });
  connect(optFolder, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optFolder_Click();
  });
  connect(cmdCancel, &QPushButton::clicked, this, &frmBrowse::cmdCancel_Click);
  connect(cmdBrowse, &QPushButton::clicked, this, &frmBrowse::cmdBrowse_Click);
}

void frmBrowse::ApplyInitialState() {
  fraAction->setTitle(QStringLiteral("Encrypt"));
  optFile->setChecked(true);
  for (QCheckBox* box : {chkSubFolders, chkOverwrite, chkDeleteSourceFiles})
    box->setChecked(false);
  optFile_Click();
}

void frmBrowse::SetActionCaption(const QString& caption) {
  fraAction->setTitle(caption);
}

void frmBrowse::optFile_Click() {
  LV_GUARD("optFile_Click", [&] {
    chkSubFolders->setEnabled(false);
    chkDeleteSourceFiles->setText(QStringLiteral("Delete Source file"));
  });
}

void frmBrowse::optFolder_Click() {
  LV_GUARD("optFolder_Click", [&] {
    chkSubFolders->setEnabled(true);
    chkDeleteSourceFiles->setText(QStringLiteral("Delete Source files"));
  });
}

void frmBrowse::cmdCancel_Click() {
  LV_GUARD("cmdCancel_Click", [&] { close(); });
}

void frmBrowse::closeEvent(QCloseEvent* event) {
  if (m_Search) {
    m_Search->stopped = true;
    m_Search->finder.StopSearch();
  }
  QWidget::closeEvent(event);
  ApplyInitialState();
}

// A cancelled pick keeps the window open for another try; a completed one closes it.
void frmBrowse::cmdBrowse_Click() {
  LV_GUARD("cmdBrowse_Click", [&] {
    if (m_Target.BatchRowCount() > 0 &&
        ActiveMessageBoxes().Ask("Do you wish to clear the files list?", "Clear") ==
            MessageAnswer::Yes)
      LV_STMT(m_Target.ClearBatchList());
    if (optFolder->isChecked())
      BrowseFolderTree();
    else if (BrowseOneFile())
      Done();
  });
}

void frmBrowse::Done() {
  m_Target.EnableListButtons(m_Target.BatchRowCount() > 0, m_Target.HasSourceName());
  close();
}

bool frmBrowse::BrowseOneFile() {
  FileDialog.sFilter = FilterEntry("All Files (*.*)", "*.*");
  FileDialog.sDlgTitle = "Show Open";
  FileDialog.sInitDir = QCoreApplication::applicationDirPath().toStdString() + "/";
  const DialogSelection sOpen = ShowOpen(this, true);
  if (sOpen.bCanceled) return false;
  const std::string path = sOpen.sLastDirectory + sOpen.sFiles[1];
  LV_STMT(m_Target.SetSourceAndDestination(
      path, DestinationFor(path, m_Target.Encrypting(), m_Target.WritingFormat())));
  m_Target.SetFileFlags(chkOverwrite->isChecked(), chkDeleteSourceFiles->isChecked());
  return true;
}

// The choices are read before the search, which lets the user work the windows meanwhile; OK
// rests until it ends, as a second search would be a second list.
void frmBrowse::BrowseFolderTree() {
  const std::string folder =
      WithFilePickerOwner(this, [] { return BrowseFolder("Please select a source directory"); });
  if (folder.empty()) return;
  m_Search = std::make_unique<FolderSearch>();
  m_Search->folder = folder.ends_with('/') ? folder : folder + "/";
  m_Search->subFolders = chkSubFolders->isChecked();
  m_Search->encrypting = m_Target.Encrypting();
  m_Search->format = m_Target.WritingFormat();
  m_Search->overwrite = chkOverwrite->isChecked();
  m_Search->deleteSource = chkDeleteSourceFiles->isChecked();
  m_SearchThread.reset(QThread::create([search = m_Search.get()] { search->Run(); }));
  m_SearchThread->setParent(this);  // found by the tests, which wait for it
  connect(m_SearchThread.get(), &QThread::finished, this, &frmBrowse::SearchEnded);
  cmdBrowse->setEnabled(false);
  m_SearchThread->start();
}

void frmBrowse::SearchEnded() {
  m_SearchThread->wait();
  m_SearchThread.reset();
  // The batch list rests while a job runs, and this window with it; the rows wait for its end.
  if (isEnabled()) ShowFound();
}

void frmBrowse::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange && isEnabled() && m_Search && !m_SearchThread)
    ShowFound();
}

// The search's errors, then, unless a close stopped it, the folders it could not search and the
// rows.
void frmBrowse::ShowFound() {
  const std::unique_ptr<FolderSearch> search = std::move(m_Search);
  cmdBrowse->setEnabled(true);
  LV_GUARD("ShowFound", [&] {
    for (const QString& error : search->listener.errors)
      ModError::Report(1, error, search->statement);
    if (search->stopped) return;
    NoticeUnsearched(search->finder.Unsearched());
    LV_STMT(m_Target.AppendBatchRows(BatchRowsFor(std::move(search->found), search->encrypting,
                                                  search->overwrite, search->deleteSource,
                                                  search->format)));
    Done();
  });
}

}  // namespace lockvale
