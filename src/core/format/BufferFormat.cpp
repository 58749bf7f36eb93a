#include "format/BufferFormat.h"

#include <algorithm>

namespace lockvale {

FormatResult EncryptBuffer(const FormatContext& context, std::span<const std::uint8_t> plaintext,
                           std::vector<std::uint8_t>& ciphertext, bool lengthByte) {
  constexpr std::size_t kBlock = BlockCipher::BlockSize;
  const std::size_t n = plaintext.size();
  const std::size_t m = (n + (lengthByte ? kBlock : kBlock - 1)) & ~(kBlock - 1);
  std::vector<std::uint8_t> result(m, 0);
  std::copy(plaintext.begin(), plaintext.end(), result.begin());
  if (lengthByte) result[m - 1] = static_cast<std::uint8_t>(n % kBlock);
  context.Transform(true, result.data(), m, 0);
  ciphertext = std::move(result);
  return {};
}

FormatResult DecryptBuffer(const FormatContext& context, std::vector<std::uint8_t>& plaintext,
                           std::span<const std::uint8_t> ciphertext, bool lengthByte) {
  constexpr std::size_t kBlock = BlockCipher::BlockSize;
  const std::size_t n = ciphertext.size();
  // An empty buffer cannot carry a length byte, so it is refused like a ragged one.
  if (n % kBlock != 0 || (lengthByte && n == 0))
    return {FormatResult::RaggedCiphertext, n - n % kBlock};
  std::vector<std::uint8_t> result(ciphertext.begin(), ciphertext.end());
  context.Transform(false, result.data(), n, 0);
  FormatResult outcome;
  if (lengthByte) {
    const std::size_t L = result[n - 1];
    if (L >= kBlock)
      outcome = {FormatResult::BadLengthByte, n - 1};
    else if (n - kBlock + L > 0)
      result.resize(n - kBlock + L);
  }
  plaintext = std::move(result);
  return outcome;
}

}  // namespace lockvale
