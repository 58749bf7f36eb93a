// The main window's two Browse buttons: the desktop's file dialogs for a single file, the
// browse window for the batch list.
#include <QCoreApplication>
#include <QLineEdit>

#include "browse/FileDialogs.h"
#include "browse/frmBrowse.h"
#include "mainwindow/ListController.h"
#include "mainwindow/frmMain.h"
#include "support/Statement.h"

namespace lockvale {

namespace {

constexpr std::uint32_t kPickerFlags = kExplorer | kLongNames | kHideReadOnly | kAllowMultiSelect;

// Decrypting opens either format; encrypting saves the one chosen.
std::string EncryptedFilesFilter(bool save, Format format) {
  const std::string encr = FilterEntry("Encrypted Files (*.encr)", "*.encr");
  const std::string sealed = FilterEntry("Sealed Files (*.lkv)", "*.lkv");
  if (!save) return encr + sealed;
  return format == Format::Lkv ? sealed : encr;
}

}  // namespace

// The one path chosen (the first of several), or "" when cancelled. The flags are never 0,
// so the save dialog asks nothing: whether a destination is replaced is the job's question.
std::string frmMain::PickFile(bool save, bool encryptedFiles) {
  FileDialog.sFilter = encryptedFiles ? EncryptedFilesFilter(save, m_List->WritingFormat())
                                      : FilterEntry("All Files (*.*)", "*.*");
  FileDialog.sDlgTitle = save ? "Show Save" : "Show Open";
  FileDialog.sInitDir = QCoreApplication::applicationDirPath().toStdString() + "/";
  FileDialog.flags = kPickerFlags;
  const DialogSelection sOpen = save ? ShowSave(this, true) : ShowOpen(this, true);
  return sOpen.bCanceled ? std::string() : sOpen.sLastDirectory + sOpen.sFiles.at(1);
}

void frmMain::ShowBrowse() {
  if (m_Browse == nullptr) m_Browse = new frmBrowse(*m_List, this);
  m_Browse->show();
  m_Browse->raise();
}

void frmMain::cmdSourceBrowse_Click() {
  LV_GUARD("cmdSourceBrowse_Click", [&] {
    const bool encrypting = m_List->Encrypting();
    if (Mode() != JobMode::SingleFile) {
      ShowBrowse();
      m_Browse->SetActionCaption(encrypting ? QStringLiteral("Encrypt")
                                            : QStringLiteral("Decrypt"));
      return;
    }
    const std::string path = LV_STMT(PickFile(false, !encrypting));
    if (!path.empty())
      m_List->SetSourceAndDestination(path,
                                      DestinationFor(path, encrypting, m_List->WritingFormat()));
  });
}

void frmMain::cmdDestBrowse_Click() {
  LV_GUARD("cmdDestBrowse_Click", [&] {
    if (Mode() != JobMode::SingleFile) {
      ShowBrowse();
      return;
    }
    const std::string path = LV_STMT(PickFile(true, m_List->Encrypting()));
    if (!path.empty()) txtDestFilename->setText(QString::fromStdString(path));
  });
}

}  // namespace lockvale
