#include "jobs/JobSteps.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "jobs/JobProgress.h"
#include "mainwindow/frmMain.h"
#include "support/MessageBoxes.h"
#include "util/CodePage.h"
#include "util/SecureWipe.h"

namespace lockvale {

std::vector<std::uint8_t> ToCodePage(const QString& text) {
  QByteArray utf8 = text.toUtf8();
  std::vector<std::uint8_t> bytes =
      CodePage::ForThisSystem().Encode(std::string_view(utf8.constData(), utf8.size()));
  SecureWipe(utf8.data(), static_cast<std::size_t>(utf8.size()));  // it may be a key
  return bytes;
}

bool Confirmed(const frmMain& form, const QString& encryptQuestion,
               const QString& decryptQuestion) {
  return AskYesNoCancel(form.Encrypting() ? encryptQuestion : decryptQuestion,
                        QStringLiteral("Encrypt")) == MessageAnswer::Yes;
}

std::unique_ptr<KeyBytes> GetPassword(const frmMain& form) {
  std::vector<std::uint8_t> bytes = ToCodePage(form.txtPassword->text());
  auto key = std::make_unique<KeyBytes>(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  SecureWipe(bytes.data(), bytes.size());
  return key;
}

int SelectedKeyBits(const frmMain& form) {
  return form.cboKeySize->currentData().toInt();
}

int SelectedBlockBits(const frmMain& form) {
  return form.cboBlockSize->currentData().toInt();
}

void CompleteJob(frmMain& form, bool errorHappened) {
  if (errorHappened) {
    // The cipher has told the user why; nothing was left under the destination name.
    form.SetStatusText(QStringLiteral("Error"));
    return;
  }
  form.Progress().Fill();
  form.SetStatusText(QStringLiteral("Completed"));
  ShowNotice(
      form.Encrypting() ? QStringLiteral("Encrypt Finished") : QStringLiteral("Decrypt Finished"),
      QStringLiteral("Status"));
}

}  // namespace lockvale
