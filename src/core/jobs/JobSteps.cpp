#include "jobs/JobSteps.h"

#include <algorithm>

#include "util/CodePage.h"
#include "util/SecureWipe.h"
#include "util/StatementMark.h"

namespace lockvale {
namespace {

bool Unheld(const CodePage& codePage, std::string_view text) {
  return UnheldCharacters(codePage, text) > 0;
}

const char* FileStatus(Direction direction) {
  return direction == Direction::Encrypt ? "Encrypting File" : "Decrypting File";
}

bool GoesOn(JobHost& host, const CodePage& codePage, const char* what, const char* loss) {
  const std::string question =
      std::string("The ") + what + " holds characters that the code page " + codePage.Name() +
      " cannot hold. They would be encrypted as \"?\"" + loss + ". Do you wish to go on?";
  return host.Boxes().Ask(question, "Code Page", NoticeIcon::Exclamation) == MessageAnswer::Yes;
}

}  // namespace

std::size_t UnheldCharacters(const CodePage& codePage, std::string_view text) {
  std::size_t unheld = 0;
  std::vector<std::uint8_t> bytes = codePage.Encode(text, &unheld);
  SecureWipe(bytes.data(), bytes.size());  // they may be the key's
  return unheld;
}

std::vector<std::uint8_t> ToCodePage(std::string_view text) {
  return CodePage::ForThisSystem().Encode(text);
}

std::string FromCodePage(std::span<const std::uint8_t> bytes) {
  return CodePage::ForThisSystem().Decode(bytes);
}

std::string VisibleText(std::span<const std::uint8_t> bytes) {
  return FromCodePage(bytes.first(std::find(bytes.begin(), bytes.end(), 0) - bytes.begin()));
}

bool Confirmed(JobHost& host, Direction direction, const char* encryptQuestion,
               const char* decryptQuestion) {
  const char* question = direction == Direction::Encrypt ? encryptQuestion : decryptQuestion;
  return host.Boxes().Ask(question, "Encrypt") == MessageAnswer::Yes;
}

bool UnheldCharactersAccepted(JobHost& host, const JobRequest& request) {
  if (request.direction != Direction::Encrypt || request.format == Format::Lkv) return true;
  const CodePage codePage = LV_STMT(CodePage::ForThisSystem());
  if (Unheld(codePage, request.keyText.View()) &&
      !GoesOn(host, codePage, "key", ", which makes the key weaker"))
    return false;
  return request.mode != JobMode::Text || !Unheld(codePage, request.text) ||
         GoesOn(host, codePage, "text", " and lost");
}

std::unique_ptr<KeyBytes> GetPassword(const SecretText& keyText) {
  std::vector<std::uint8_t> bytes = ToCodePage(keyText.View());
  auto key = std::make_unique<KeyBytes>(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  SecureWipe(bytes.data(), bytes.size());
  return key;
}

cEncrypt& KeyedCipherForFile(JobHost& host, const JobRequest& request) {
  const int KeyBits = request.keyBits;
  auto pass = LV_STMT(GetPassword(request.keyText));
  host.SetStatusText(FileStatus(request.direction));
  cEncrypt& cipher = host.Cipher();
  LV_STMT(cipher.SetCipherKey(pass->Bytes(), KeyBits));
  return cipher;
}

DerivationNotice DerivationShown(JobHost& host, Direction direction) {
  return [&host, direction](bool deriving) {
    host.SetStatusText(deriving ? kDerivingStatus : FileStatus(direction));
  };
}

bool Accepted(JobHost& host, const std::optional<Refusal>& refusal) {
  if (refusal) host.Boxes().Notice(refusal->text, refusal->title);
  return !refusal;
}

void CompleteJob(JobHost& host, Direction direction, bool errorHappened) {
  if (errorHappened) {
    // The job has told the user why; nothing was left under the destination name.
    host.SetStatusText("Error");
    return;
  }
  host.FillProgress();
  host.SetStatusText("Completed");
  host.Boxes().Notice(direction == Direction::Encrypt ? "Encrypt Finished" : "Decrypt Finished",
                      "Status");
}

std::string SourceKeptText(const std::string& source, const std::string& reason) {
  return "The source file " + source + " could not be deleted: " + reason;
}

void TellSourceKept(JobHost& host, const std::string& source, const std::string& reason) {
  host.Boxes().Notice(SourceKeptText(source, reason), "Delete Source File",
                      NoticeIcon::Exclamation);
}

TrashMover TrashOf(JobHost& host) {
  return [&host](const std::string& path) { return host.MoveSourceToTrash(path); };
}

}  // namespace lockvale
