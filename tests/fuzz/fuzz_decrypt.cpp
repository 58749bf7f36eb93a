// Any bytes as ciphertext, decrypted as a buffer and as a file under the key and form the input
// picks: never a crash or a leaked handle, a refusal exactly for sizes that cannot be whole
// blocks, a message for every refusal, nothing left under the destination's name after a failure,
// and what comes back is the ciphertext's blocks, which encrypt to it again.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "FuzzSupport.h"
#include "format/SealedFormat.h"
#include "jobs/FileJob.h"
#include "jobs/JobChecks.h"
#include "util/MemoryStream.h"

using namespace lockvale;
namespace fs = std::filesystem;

namespace {

std::string folder;  // one scratch folder per process, removed at exit

std::size_t OpenHandles() {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

// The file form always carries the length byte; its result must be the buffer form's.
void CheckFileDecrypt(cEncrypt& cipher, std::span<const std::uint8_t> ciphertext,
                      const std::vector<std::uint8_t>& expected, bool accepted) {
  MemorySource start(ciphertext);
  if (StartsSealed(start)) return;  // read as a sealed file, which fuzz_sealed_reader covers
  const std::string source = folder + "/in.encr", destination = folder + "/out";
  std::ofstream(source, std::ios::binary)
      .write(reinterpret_cast<const char*>(ciphertext.data()),
             static_cast<std::streamsize>(ciphertext.size()));
  fs::remove(destination);
  const std::size_t handles = OpenHandles();
  const FormatResult result = RunFileJob(cipher, {source, destination, Direction::Decrypt}).format;
  FUZZ_CHECK(OpenHandles() == handles);
  FUZZ_CHECK((result.kind == FormatResult::Done) == accepted);
  FUZZ_CHECK(accepted == !RefusalOf(result, DataForm::File));
  FUZZ_CHECK(accepted || !fs::exists(destination));
  if (ciphertext.empty() || ciphertext.size() % 16 != 0)
    FUZZ_CHECK(result.kind == FormatResult::RaggedCiphertext);
  if (!accepted) return;
  std::ifstream output(destination, std::ios::binary);
  FUZZ_CHECK(std::equal(expected.begin(), expected.end(), std::istreambuf_iterator<char>(output),
                        std::istreambuf_iterator<char>(),
                        [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = fs::temp_directory_path() / "lockvale-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) fuzz::Fail("mkdtemp", __FILE__, __LINE__);
  folder = pattern;
  std::atexit([] {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::CipherInput in({data, size});
  const auto& ciphertext = in.ciphertext;
  const std::size_t n = ciphertext.size();
  cEncrypt cipher, portable(CipherPath::Portable);
  cipher.SetCipherKey(in.key, in.keyBits);
  portable.SetCipherKey(in.key, in.keyBits);

  const std::vector<std::uint8_t> untouched{1, 2, 3};
  std::vector<std::uint8_t> plain = untouched, raw, rawPortable, again;
  const FormatResult result = cipher.ArrayDecrypt(plain, ciphertext, in.lengthByte);
  const bool refused = n % 16 != 0 || (in.lengthByte && n == 0);
  FUZZ_CHECK((result.kind == FormatResult::RaggedCiphertext) == refused);
  FUZZ_CHECK((result.kind == FormatResult::Done) == !RefusalOf(result, DataForm::Buffer));
  if (refused) {
    FUZZ_CHECK(plain == untouched);
    if (in.lengthByte) CheckFileDecrypt(cipher, ciphertext, {}, false);
    return 0;
  }

  // Without a length byte: the blocks as they are, the same on every path, and they
  // encrypt to the ciphertext again.
  const FormatResult ok{};
  FUZZ_CHECK(cipher.ArrayDecrypt(raw, ciphertext, 0) == ok);
  FUZZ_CHECK(portable.ArrayDecrypt(rawPortable, ciphertext, 0) == ok && raw == rawPortable);
  FUZZ_CHECK(cipher.ArrayEncrypt(raw, again, 0) == ok && std::ranges::equal(again, ciphertext));
  if (!in.lengthByte) {
    FUZZ_CHECK(result == ok && plain == raw);
    return 0;
  }

  // With it: accepted when the last byte counts fewer than a block, then cut to the count;
  // a lone block is never emptied by the buffer form.
  const std::size_t L = raw.back();
  FUZZ_CHECK(result == (L < 16 ? ok : FormatResult{FormatResult::BadLengthByte, n - 1}));
  const std::size_t kept = result != ok || n - 16 + L == 0 ? n : n - 16 + L;
  FUZZ_CHECK(std::ranges::equal(plain, std::span(raw).first(kept)));
  // With zero padding, as the encryption writes it, the plaintext encrypts to the same bytes.
  if (kept < n && std::all_of(raw.begin() + kept, raw.end() - 1, [](auto b) { return b == 0; }))
    FUZZ_CHECK(cipher.ArrayEncrypt(plain, again, 1) == ok && std::ranges::equal(again, ciphertext));
  const std::size_t fileKept = L < 16 ? n - 16 + L : 0;
  CheckFileDecrypt(cipher, ciphertext, {raw.begin(), raw.begin() + fileKept}, L < 16);
  return 0;
}
