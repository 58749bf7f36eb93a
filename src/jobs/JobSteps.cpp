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

std::unique_ptr<KeyBytes> GetPassword(const frmMain& form) {
  QByteArray utf8 = form.txtPassword->text().toUtf8();
  std::vector<std::uint8_t> bytes =
      CodePage::ForThisSystem().Encode(std::string_view(utf8.constData(), utf8.size()));
  auto key = std::make_unique<KeyBytes>(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  SecureWipe(bytes.data(), bytes.size());
  SecureWipe(utf8.data(), utf8.size());
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
