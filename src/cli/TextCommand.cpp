#include "cli/TextCommand.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/KeySource.h"
#include "jobs/HexText.h"
#include "jobs/JobSteps.h"

namespace lockvale {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The window's text job groups the digits by the block, 128 bits.
constexpr std::size_t kDigitGroup = 128 / 8;

// Every line break as CR LF, the form the window's text box gives its text in; like the box,
// a CR LF, a lone LF and a lone CR each count as one.
std::string WithCrLf(const std::string& text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n')
      result += "\r\n";
    else
      result += text[i];
  }
  return result;
}

// CR LF back to the line breaks of this system; lone CRs stay as they are.
std::string WithLf(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) result += text[i];
  return result;
}

// A zero byte ends the text: the last block is padded with zeros.
std::string VisibleText(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return FromCodePage(std::span(bytes.begin(), end));
}

int EncryptText(cEncrypt& cipher, const std::string& text, std::ostream& out) {
  Bytes ciphertext;
  cipher.ArrayEncrypt(ToCodePage(WithCrLf(text)), ciphertext, 0);
  out << HexDisplay(ciphertext, kDigitGroup) << '\n';
  return kExitDone;
}

int DecryptText(cEncrypt& cipher, const std::string& text, std::ostream& out,
                StreamNotifier& notifier) {
  Bytes ciphertext, plaintext;
  if (HexDisplayRev(text, ciphertext) == 0) {
    notifier.Tell("Text not Hex data");
    return kExitFileFailed;
  }
  // Without a length byte a wrong key cannot be told; only a ragged size is refused.
  if (cipher.ArrayDecrypt(plaintext, ciphertext, 0) != 0) return kExitNotDecrypted;
  out << WithLf(VisibleText(plaintext));
  return kExitDone;
}

// The refusals of the window's text job, in its order; empty when none applies.
std::string Refusal(const std::string& text, bool keyEmpty, bool encrypting) {
  if (text.empty())
    return encrypting ? "Please enter in some text to encrypt."
                      : "Please enter in some text to decrypt.";
  if (keyEmpty) return encrypting ? "No Encryption Key" : "No Key";
  return {};
}

}  // namespace

int RunTextCommand(const CliOptions& options, std::istream& in, std::ostream& out,
                   StreamNotifier& notifier) {
  const bool encrypting = options.direction == Direction::Encrypt;
  const SecretText keyText = ObtainKeyText(options.keyFile, encrypting);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  notifier.SetSubject("standard input");
  if (const std::string refusal = Refusal(text, keyText.empty(), encrypting); !refusal.empty()) {
    notifier.Tell(refusal);
    return kExitFileFailed;
  }
  if (encrypting) {
    RefuseUnheldCharacters("key", keyText.View());
    RefuseUnheldCharacters("text", text);
  }
  cEncrypt cipher;
  cipher.SetNotifier(&notifier);
  cipher.SetCipherKey(GetPassword(keyText)->Bytes(), options.keyBits);
  const int status =
      encrypting ? EncryptText(cipher, text, out) : DecryptText(cipher, text, out, notifier);
  if (out.flush()) return status;
  notifier.SetSubject("standard output");
  notifier.Tell("cannot write");
  return kExitFileFailed;
}

}  // namespace lockvale
