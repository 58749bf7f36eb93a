// Any bytes as an encrypted file, decrypted under the key the input picks: never a crash
// or a leaked handle, a status that matches the data, one notice per failure, nothing
// left under the destination's name after a failure, and the right plaintext otherwise.

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FuzzSupport.h"
#include "cipher/cEncrypt.h"

using namespace lockvale;
namespace fs = std::filesystem;

namespace {

std::string folder;  // one scratch folder per process, removed at exit

std::size_t OpenHandles() {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
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
  const std::string source = folder + "/in.encr", destination = folder + "/out";
  std::ofstream(source, std::ios::binary)
      .write(reinterpret_cast<const char*>(ciphertext.data()), static_cast<std::streamsize>(n));
  fs::remove(destination);

  const std::size_t handles = OpenHandles();
  fuzz::CollectingNotifier notifier;
  cEncrypt cipher;
  cipher.SetCipherKey(in.key, in.keyBits);
  cipher.SetNotifier(&notifier);
  const int status = cipher.FileDecrypt(destination, source);
  FUZZ_CHECK(OpenHandles() == handles);
  FUZZ_CHECK(cipher.ErrorHappened() == (status != cEncrypt::FileOk));
  FUZZ_CHECK(notifier.notices.size() == (status == cEncrypt::FileOk ? 0u : 1u));
  FUZZ_CHECK(status == cEncrypt::FileOk || !fs::exists(destination));
  if (n == 0 || n % 16 != 0) {
    FUZZ_CHECK(status == cEncrypt::FileSizeError);
    return 0;
  }

  // The plaintext is the ciphertext's blocks cut by the count in their last byte.
  std::vector<std::uint8_t> raw;
  cipher.ArrayDecrypt(raw, ciphertext, 0);
  const std::size_t L = raw.back();
  FUZZ_CHECK(status == (L < 16 ? cEncrypt::FileOk : cEncrypt::FileLengthError));
  if (status != cEncrypt::FileOk) return 0;
  raw.resize(n - 16 + L);
  std::ifstream output(destination, std::ios::binary);
  FUZZ_CHECK(std::equal(raw.begin(), raw.end(), std::istreambuf_iterator<char>(output),
                        std::istreambuf_iterator<char>(),
                        [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
  return 0;
}
