#include "jobs/TextJob.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>
#include <vector>

#include "cipher/cEncrypt.h"
#include "jobs/HexText.h"
#include "jobs/JobProgress.h"
#include "jobs/JobSteps.h"
#include "mainwindow/frmMain.h"
#include "support/MessageBoxes.h"
#include "support/Statement.h"
#include "util/CodePage.h"

namespace lockvale {

namespace {

using Bytes = std::vector<std::uint8_t>;

// A zero byte ends the text, as it always has for this program: decrypted text
// carries the zero padding of its last block.
QString FromCodePage(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  const std::string utf8 = CodePage::ForThisSystem().Decode(
      std::span<const std::uint8_t>(bytes.data(), static_cast<std::size_t>(end - bytes.begin())));
  return QString::fromStdString(utf8);
}

}  // namespace

void DisplayString(QPlainTextEdit* TheTextBox, const QString& TheString) {
  TheTextBox->setPlainText(TheString);
}

void TextJob::Run() {
  if (!InputsAccepted() ||
      !Confirmed(m_Form, QStringLiteral("Are you sure you wish to encrypt this text?"),
                 QStringLiteral("Are you sure you wish to decrypt this text?")))
    return;
  if (m_Form.Encrypting()) {
    Encrypt();
  } else {
    Decrypt();
  }
}

bool TextJob::InputsAccepted() {
  const bool encrypting = m_Form.Encrypting();
  if (m_Form.txtEncrypt->toPlainText().isEmpty()) {
    ShowNotice(encrypting ? QStringLiteral("Please enter in some text to encrypt.")
                          : QStringLiteral("Please enter in some text to decrypt."),
               QStringLiteral("Text"));
    return false;
  }
  if (m_Form.txtPassword->text().isEmpty()) {
    ShowNotice(encrypting ? QStringLiteral("No Encryption Key") : QStringLiteral("No Key"),
               QStringLiteral("Key"));
    return false;
  }
  return true;
}

void TextJob::Encrypt() {
  const int KeyBits = SelectedKeyBits(m_Form);
  const int BlockBits = SelectedBlockBits(m_Form);
  auto pass = LV_STMT(GetPassword(m_Form));
  m_Form.SetStatusText(QStringLiteral("Converting Text"));
  const Bytes plaintext = LV_STMT(ToCodePage(m_Form.txtEncrypt->toPlainText()));
  m_Form.SetStatusText(QStringLiteral("Encrypting Data"));
  m_Form.Progress().Start(plaintext.size() + 1);
  cEncrypt& cipher = m_Form.Rijndael();
  LV_STMT(cipher.SetCipherKey(pass->Bytes(), KeyBits));
  Bytes ciphertext;
  LV_STMT(cipher.ArrayEncrypt(plaintext, ciphertext, 0));
  m_Form.SetStatusText(QStringLiteral("Converting Text"));
  const std::string hex = LV_STMT(HexDisplay(ciphertext, static_cast<std::size_t>(BlockBits / 8)));
  DisplayString(m_Form.txtEncrypt,
                QString::fromLatin1(hex.data(), static_cast<qsizetype>(hex.size())));
  m_Form.SetStatusText(QString());
  CompleteJob(m_Form, false);
}

void TextJob::Decrypt() {
  const int KeyBits = SelectedKeyBits(m_Form);
  auto pass = LV_STMT(GetPassword(m_Form));
  m_Form.SetStatusText(QStringLiteral("Converting Text"));
  Bytes ciphertext;
  const QByteArray digits = m_Form.txtEncrypt->toPlainText().toLatin1();
  if (LV_STMT(HexDisplayRev(std::string_view(digits.constData(), digits.size()), ciphertext)) ==
      0) {
    ShowNotice(QStringLiteral("Text not Hex data"), QStringLiteral("Data"));
    m_Form.SetStatusText(QString());
    return;
  }
  m_Form.SetStatusText(QStringLiteral("Decrypting Data"));
  m_Form.Progress().Start(ciphertext.size() + 1);
  cEncrypt& cipher = m_Form.Rijndael();
  LV_STMT(cipher.SetCipherKey(pass->Bytes(), KeyBits));
  Bytes plaintext;
  if (LV_STMT(cipher.ArrayDecrypt(plaintext, ciphertext, 0)) != 0) {
    m_Form.SetStatusText(QString());
    return;
  }
  m_Form.SetStatusText(QStringLiteral("Converting Text"));
  DisplayString(m_Form.txtEncrypt, LV_STMT(FromCodePage(plaintext)));
  m_Form.SetStatusText(QString());
  CompleteJob(m_Form, false);
}

}  // namespace lockvale
