#include "jobs/SingleFileJob.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <filesystem>
#include <system_error>

#include "cipher/cEncrypt.h"
#include "jobs/FileHelpers.h"
#include "jobs/FileJob.h"
#include "jobs/JobProgress.h"
#include "jobs/JobSteps.h"
#include "mainwindow/frmMain.h"
#include "support/MessageBoxes.h"
#include "support/Statement.h"
#include "util/FileIdentity.h"

namespace lockvale {

namespace {

std::string LocalPath(const QString& name) {
  return QFile::encodeName(name).toStdString();
}

std::uint64_t FileLength(const std::string& path) {
  std::error_code error;
  std::uint64_t length = std::filesystem::file_size(path, error);
  if (error) throw std::system_error(error, "Cannot read " + path);
  return length;
}

}  // namespace

void SingleFileJob::Run() {
  if (!InputsAccepted() ||
      !Confirmed(m_Form, QStringLiteral("Are you sure you wish to encrypt this file?"),
                 QStringLiteral("Are you sure you wish to decrypt this file?")))
    return;
  FileName = LocalPath(m_Form.txtFilename->text());
  FileName2 = LocalPath(m_Form.txtDestFilename->text());
  LV_STMT(m_Form.Progress().Start(FileLength(FileName) + 1));
  if (!DestinationSettled()) return;
  CompleteJob(m_Form, !Transform());
}

bool SingleFileJob::InputsAccepted() {
  const QString source = m_Form.txtFilename->text();
  const QString destination = m_Form.txtDestFilename->text();
  const QString sourceTitle = QStringLiteral("Source filename");
  const QString destinationTitle = QStringLiteral("Destination filename");
  if (source.isEmpty()) {
    ShowNotice(QStringLiteral("Please enter a valid source filename"), sourceTitle);
    return false;
  }
  if (!IsRegularFile(LocalPath(source))) {
    ShowNotice(QStringLiteral("Source file does not exist. Please enter a valid source filename"),
               sourceTitle);
    return false;
  }
  if (destination.isEmpty()) {
    ShowNotice(QStringLiteral("Please enter a valid destination filename"), destinationTitle);
    return false;
  }
  if (m_Form.txtPassword->text().isEmpty()) {
    ShowNotice(QStringLiteral("Please enter a security key"), QStringLiteral("Security Key"));
    return false;
  }
  if (SameFile(LocalPath(source), LocalPath(destination))) {
    ShowNotice(QStringLiteral("The destination file is the same as the source file. Please "
                              "enter a different destination filename"),
               destinationTitle);
    return false;
  }
  return true;
}

// An existing destination is only marked for replacement here; it stays intact
// until the new file is complete.
bool SingleFileJob::DestinationSettled() {
  if (!FileExists(FileName2)) return true;
  if (m_Form.chkOverwrite->isChecked()) {
    m_ReplaceExisting = true;
    return true;
  }
  const QString question = m_Form.txtDestFilename->text() +
                           QStringLiteral(" already exists. Do you wish to overwrite it?");
  m_ReplaceExisting =
      AskYesNoCancel(question, kAppTitle, NoticeIcon::Information) == MessageAnswer::Yes;
  return m_ReplaceExisting;
}

// False when the ciphertext was refused.
bool SingleFileJob::Transform() {
  const bool encrypting = m_Form.Encrypting();
  const int KeyBits = SelectedKeyBits(m_Form);
  auto pass = LV_STMT(GetPassword(m_Form));
  m_Form.SetStatusText(encrypting ? QStringLiteral("Encrypting File")
                                  : QStringLiteral("Decrypting File"));
  cEncrypt& cipher = m_Form.Rijndael();
  LV_STMT(cipher.SetCipherKey(pass->Bytes(), KeyBits));
  const FileJobRequest request{FileName, FileName2,
                               encrypting ? Direction::Encrypt : Direction::Decrypt,
                               m_ReplaceExisting, m_Form.chkDeleteSourceFile->isChecked()};
  FileJobOutcome outcome = LV_STMT(RunFileJob(cipher, request));
  return outcome == FileJobOutcome::Completed;
}

}  // namespace lockvale
