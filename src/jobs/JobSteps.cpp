#include "jobs/JobSteps.h"

#include "util/CodePage.h"
#include "util/SecureWipe.h"
#include "util/StatementMark.h"

namespace lockvale {

std::vector<std::uint8_t> ToCodePage(std::string_view text) {
  return CodePage::ForThisSystem().Encode(text);
}

std::string FromCodePage(std::span<const std::uint8_t> bytes) {
  return CodePage::ForThisSystem().Decode(bytes);
}

bool Confirmed(JobHost& host, Direction direction, const char* encryptQuestion,
               const char* decryptQuestion) {
  const char* question = direction == Direction::Encrypt ? encryptQuestion : decryptQuestion;
  return host.Boxes().Ask(question, "Encrypt") == MessageAnswer::Yes;
}

std::unique_ptr<KeyBytes> GetPassword(const SecretText& keyText) {
  std::vector<std::uint8_t> bytes = ToCodePage(keyText.View());
  auto key = std::make_unique<KeyBytes>(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  SecureWipe(bytes.data(), bytes.size());
  return key;
}

cEncrypt& KeyedCipherForFile(JobHost& host, const JobRequest& request) {
  const bool encrypting = request.direction == Direction::Encrypt;
  const int KeyBits = request.keyBits;
  auto pass = LV_STMT(GetPassword(request.keyText));
  host.SetStatusText(encrypting ? "Encrypting File" : "Decrypting File");
  cEncrypt& cipher = host.Cipher();
  LV_STMT(cipher.SetCipherKey(pass->Bytes(), KeyBits));
  return cipher;
}

void CompleteJob(JobHost& host, Direction direction, bool errorHappened) {
  if (errorHappened) {
    // The cipher has told the user why; nothing was left under the destination name.
    host.SetStatusText("Error");
    return;
  }
  host.FillProgress();
  host.SetStatusText("Completed");
  host.Boxes().Notice(direction == Direction::Encrypt ? "Encrypt Finished" : "Decrypt Finished",
                      "Status");
}

}  // namespace lockvale
