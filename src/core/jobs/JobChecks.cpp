#include "jobs/JobChecks.h"

#include "util/FileIdentity.h"

namespace lockvale {
namespace {

struct RefusalText {
  FormatResult::Kind kind;
  std::optional<DataForm> form;  // none: either, a sealed text refused as a sealed file is
  const char* text;              // "{}" stands for the result's offset
  const char* title;
};

constexpr RefusalText kRefusals[] = {
    {FormatResult::RaggedCiphertext, DataForm::Buffer,
     "Ciphertext size not a multiple of block size", "Size"},
    {FormatResult::BadLengthByte, DataForm::Buffer, "Warning - Incorrect length field", "Length"},
    {FormatResult::RaggedCiphertext, DataForm::File,
     "File Size Error - ciphertext file not a multiple of block size", "Size"},
    {FormatResult::BadLengthByte, DataForm::File,
     "Warning - incorrect length field in decrypted file.\r\nWrong key or keysize?", "Error"},
    {FormatResult::NewerVersion, std::nullopt, "This file was made by a newer Lockvale.", "Error"},
    {FormatResult::UnacceptedSettings, std::nullopt,
     "This file asks for key-derivation settings Lockvale does not accept.", "Error"},
    {FormatResult::WrongKeyOrHeader, std::nullopt, "Wrong key, or the file's header is damaged.",
     "Error"},
    {FormatResult::Damaged, std::nullopt, "The file is damaged or was changed at byte {}.",
     "Error"},
};

std::string WithOffset(std::string text, std::uint64_t offset) {
  if (const std::size_t at = text.find("{}"); at != std::string::npos)
    text.replace(at, 2, std::to_string(offset));
  return text;
}

}  // namespace

std::optional<Refusal> CheckKey(bool keyEmpty) {
  if (keyEmpty) return Refusal{"Please enter a security key", "Security Key"};
  return std::nullopt;
}

std::optional<Refusal> CheckFileJob(const std::string& source, const std::string& destination,
                                    bool keyEmpty) {
  if (source.empty()) return Refusal{"Please enter a valid source filename", "Source filename"};
  if (!IsRegularFile(source))
    return Refusal{"Source file does not exist. Please enter a valid source filename",
                   "Source filename"};
  if (destination.empty())
    return Refusal{"Please enter a valid destination filename", "Destination filename"};
  if (auto refusal = CheckKey(keyEmpty)) return refusal;
  if (SameFile(source, destination))
    return Refusal{
        "The destination file is the same as the source file. Please enter a different "
        "destination filename",
        "Destination filename"};
  return std::nullopt;
}

std::optional<Refusal> CheckTextJob(const std::string& text, bool keyEmpty, bool encrypting) {
  if (text.empty())
    return Refusal{encrypting ? "Please enter in some text to encrypt."
                              : "Please enter in some text to decrypt.",
                   "Text"};
  if (keyEmpty) return Refusal{encrypting ? "No Encryption Key" : "No Key", "Key"};
  return std::nullopt;
}

std::optional<Refusal> RefusalOf(const FormatResult& result, DataForm form) {
  for (const RefusalText& refusal : kRefusals)
    if (refusal.kind == result.kind && (!refusal.form || refusal.form == form))
      return Refusal{WithOffset(refusal.text, result.offset), refusal.title};
  return std::nullopt;
}

}  // namespace lockvale
