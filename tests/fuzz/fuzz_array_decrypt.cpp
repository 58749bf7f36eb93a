// Any bytes through the buffer decryption, under the key and form the input picks: never a
// crash, a refusal exactly for sizes that cannot be whole blocks, one notice per failure,
// and what comes back is the ciphertext's blocks, which encrypt to it again.

#include <algorithm>

#include "FuzzSupport.h"
#include "cipher/cEncrypt.h"

using namespace lockvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::CipherInput in({data, size});
  const auto& ciphertext = in.ciphertext;
  const std::size_t n = ciphertext.size();
  fuzz::CollectingNotifier notifier;
  cEncrypt cipher, portable(CipherPath::Portable);
  cipher.SetCipherKey(in.key, in.keyBits);
  portable.SetCipherKey(in.key, in.keyBits);
  cipher.SetNotifier(&notifier);

  const std::vector<std::uint8_t> untouched{1, 2, 3};
  std::vector<std::uint8_t> plain = untouched, raw, rawPortable, again;
  const int status = cipher.ArrayDecrypt(plain, ciphertext, in.lengthByte);
  const bool refused = n % 16 != 0 || (in.lengthByte && n == 0);
  FUZZ_CHECK((status == -1) == refused);
  FUZZ_CHECK(notifier.notices.size() == (status == 0 ? 0u : 1u));
  if (refused) {
    FUZZ_CHECK(plain == untouched);
    return 0;
  }

  // Without a length byte: the blocks as they are, the same on every path, and they
  // encrypt to the ciphertext again.
  FUZZ_CHECK(cipher.ArrayDecrypt(raw, ciphertext, 0) == 0);
  FUZZ_CHECK(portable.ArrayDecrypt(rawPortable, ciphertext, 0) == 0 && raw == rawPortable);
  FUZZ_CHECK(cipher.ArrayEncrypt(raw, again, 0) == 0 && std::ranges::equal(again, ciphertext));
  if (!in.lengthByte) {
    FUZZ_CHECK(status == 0 && plain == raw);
    return 0;
  }

  // With it: accepted when the last byte counts fewer than a block, then cut to the count;
  // a lone block is never emptied.
  const std::size_t L = raw.back();
  FUZZ_CHECK((status == 0) == (L < 16));
  const std::size_t kept = status != 0 || n - 16 + L == 0 ? n : n - 16 + L;
  FUZZ_CHECK(std::ranges::equal(plain, std::span(raw).first(kept)));
  // With zero padding, as the encryption writes it, the plaintext encrypts to the same bytes.
  if (kept < n && std::all_of(raw.begin() + kept, raw.end() - 1, [](auto b) { return b == 0; }))
    FUZZ_CHECK(cipher.ArrayEncrypt(plain, again, 1) == 0 && std::ranges::equal(again, ciphertext));
  return 0;
}
