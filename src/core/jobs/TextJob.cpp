#include "jobs/TextJob.h"

#include <vector>

#include "jobs/HexText.h"
#include "jobs/JobSteps.h"
#include "util/StatementMark.h"

namespace lockvale {

namespace {

using Bytes = std::vector<std::uint8_t>;

}  // namespace

void TextJob::Run() {
  if (!Accepted(m_Host, CheckTextJob(m_Request.text, m_Request.keyText.empty(),
                                     m_Request.direction == Direction::Encrypt)) ||
      !Confirmed(m_Host, m_Request.direction, "Are you sure you wish to encrypt this text?",
                 "Are you sure you wish to decrypt this text?") ||
      !UnheldCharactersAccepted(m_Host, m_Request))
    return;
  if (m_Request.direction == Direction::Encrypt) {
    Encrypt();
  } else {
    Decrypt();
  }
}

void TextJob::Encrypt() {
  const int KeyBits = m_Request.keyBits;
  const int BlockBits = m_Request.blockBits;
  auto pass = LV_STMT(GetPassword(m_Request.keyText));
  m_Host.SetStatusText("Converting Text");
  const Bytes plaintext = LV_STMT(ToCodePage(m_Request.text));
  m_Host.SetStatusText("Encrypting Data");
  m_Host.StartProgress(plaintext.size() + 1);
  cEncrypt& cipher = m_Host.Cipher();
  LV_STMT(cipher.SetCipherKey(pass->Bytes(), KeyBits));
  Bytes ciphertext;
  LV_STMT(cipher.ArrayEncrypt(plaintext, ciphertext, 0));
  m_Host.SetStatusText("Converting Text");
  m_Host.DisplayString(LV_STMT(HexDisplay(ciphertext, static_cast<std::size_t>(BlockBits / 8))));
  m_Host.SetStatusText("");
  CompleteJob(m_Host, m_Request.direction, false);
}

void TextJob::Decrypt() {
  const int KeyBits = m_Request.keyBits;
  auto pass = LV_STMT(GetPassword(m_Request.keyText));
  m_Host.SetStatusText("Converting Text");
  Bytes ciphertext;
  if (LV_STMT(HexDisplayRev(m_Request.text, ciphertext)) == 0) {
    m_Host.Boxes().Notice("Text not Hex data", "Data");
    m_Host.SetStatusText("");
    return;
  }
  m_Host.SetStatusText("Decrypting Data");
  m_Host.StartProgress(ciphertext.size() + 1);
  cEncrypt& cipher = m_Host.Cipher();
  LV_STMT(cipher.SetCipherKey(pass->Bytes(), KeyBits));
  Bytes plaintext;
  const FormatResult result = LV_STMT(cipher.ArrayDecrypt(plaintext, ciphertext, 0));
  if (!Accepted(m_Host, RefusalOf(result, DataForm::Buffer))) {
    m_Host.SetStatusText("");
    return;
  }
  m_Host.SetStatusText("Converting Text");
  m_Host.DisplayString(LV_STMT(VisibleText(plaintext)));
  m_Host.SetStatusText("");
  CompleteJob(m_Host, m_Request.direction, false);
}

}  // namespace lockvale
