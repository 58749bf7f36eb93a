#include "cli/TextCommand.h"

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/KeySource.h"
#include "jobs/HexText.h"
#include "jobs/JobChecks.h"
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
  const auto refusal = RefusalOf(cipher.ArrayDecrypt(plaintext, ciphertext, 0), DataForm::Buffer);
  if (refusal) {
    notifier.Tell(refusal->text);
    return kExitNotDecrypted;
  }
  out << WithLf(VisibleText(plaintext));
  return kExitDone;
}

}  // namespace

int RunTextCommand(const CliOptions& options, std::istream& in, std::ostream& out,
                   StreamNotifier& notifier) {
  const bool encrypting = options.direction == Direction::Encrypt;
  const SecretText keyText = ObtainKeyText(options.keyFile, encrypting);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  notifier.SetSubject("standard input");
  if (const auto refusal = CheckTextJob(text, keyText.empty(), encrypting)) {
    notifier.Tell(refusal->text);
    return kExitFileFailed;
  }
  if (encrypting) {
    RefuseUnheldCharacters("key", keyText.View());
    RefuseUnheldCharacters("text", text);
  }
  cEncrypt cipher;
  cipher.SetCipherKey(GetPassword(keyText)->Bytes(), options.keyBits);
  const int status =
      encrypting ? EncryptText(cipher, text, out) : DecryptText(cipher, text, out, notifier);
  if (out.flush()) return status;
  notifier.SetSubject("standard output");
  notifier.Tell("cannot write");
  return kExitFileFailed;
}

}  // namespace lockvale
