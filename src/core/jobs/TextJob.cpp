#include "jobs/TextJob.h"

#include <vector>

#include "format/SealedFormat.h"
#include "jobs/HexText.h"
#include "jobs/JobSteps.h"
#include "util/MemoryStream.h"
#include "util/StatementMark.h"

namespace lockvale {

namespace {

using Bytes = std::vector<std::uint8_t>;

bool IsSealed(const Bytes& bytes) {
  MemorySource source(bytes);
  return StartsSealed(source);
}

}  // namespace

bool TextJobDerivesKey(const JobRequest& request) {
  if (request.mode != JobMode::Text) return false;
  if (request.direction == Direction::Encrypt) return request.format == Format::Lkv;
  Bytes bytes;
  HexDisplayRev(request.text, bytes);
  return IsSealed(bytes);
}

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
  if (m_Request.format == Format::Lkv) return Seal();
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
  if (IsSealed(ciphertext)) return Open(ciphertext);
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

void TextJob::Seal() {
  SealedKeyring keys(m_Request.keyText.View(), m_Request.kdf);
  m_Host.SetStatusText(kDerivingStatus);
  LV_STMT(keys.Secret(keys.WritingSalt(), keys.WritingSettings()));
  m_Host.SetStatusText("Encrypting Data");
  MemorySource plaintext(std::span(reinterpret_cast<const std::uint8_t*>(m_Request.text.data()),
                                   m_Request.text.size()));
  m_Host.StartProgress(plaintext.Size() + 1);
  MemorySink sealed;
  LV_STMT(SealFile(keys, plaintext, sealed));
  m_Host.SetStatusText("Converting Text");
  m_Host.DisplayString(
      LV_STMT(HexDisplay(sealed.bytes, static_cast<std::size_t>(m_Request.blockBits / 8))));
  m_Host.SetStatusText("");
  CompleteJob(m_Host, m_Request.direction, false);
}

void TextJob::Open(const Bytes& sealed) {
  SealedKeyring keys(m_Request.keyText.View());
  m_Host.SetStatusText(kDerivingStatus);
  m_Host.StartProgress(sealed.size() + 1);
  MemorySource source(sealed);
  MemorySink plaintext;
  const SealedResult result = LV_STMT(OpenSealedFile(keys, source, plaintext));
  if (!Accepted(m_Host, RefusalOf(AsFormatResult(result), DataForm::Buffer))) {
    m_Host.SetStatusText("");
    return;
  }
  m_Host.DisplayString(std::string(plaintext.bytes.begin(), plaintext.bytes.end()));
  m_Host.SetStatusText("");
  CompleteJob(m_Host, m_Request.direction, false);
}

}  // namespace lockvale
