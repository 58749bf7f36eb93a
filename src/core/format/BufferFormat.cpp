#include "format/BufferFormat.h"

#include <algorithm>

namespace lockvale {

int EncryptBuffer(const FormatContext& context, std::span<const std::uint8_t> plaintext,
                  std::vector<std::uint8_t>& ciphertext, bool lengthByte) {
  constexpr std::size_t kBlock = cEncrypt::BlockSize;
  const std::size_t n = plaintext.size();
  const std::size_t m = (n + (lengthByte ? kBlock : kBlock - 1)) & ~(kBlock - 1);
  std::vector<std::uint8_t> result(m, 0);
  std::copy(plaintext.begin(), plaintext.end(), result.begin());
  if (lengthByte) result[m - 1] = static_cast<std::uint8_t>(n % kBlock);
  context.Transform(true, result.data(), m, 0);
  ciphertext = std::move(result);
  return 0;
}

int DecryptBuffer(const FormatContext& context, std::vector<std::uint8_t>& plaintext,
                  std::span<const std::uint8_t> ciphertext, bool lengthByte) {
  constexpr std::size_t kBlock = cEncrypt::BlockSize;
  const std::size_t n = ciphertext.size();
  // An empty buffer cannot carry a length byte, so it is refused like a ragged one.
  if (n % kBlock != 0 || (lengthByte && n == 0)) {
    context.Notify("Ciphertext size not a multiple of block size", "Size");
    return -1;
  }
  std::vector<std::uint8_t> result(ciphertext.begin(), ciphertext.end());
  context.Transform(false, result.data(), n, 0);
  int status = 0;
  if (lengthByte) {
    const std::size_t L = result[n - 1];
    if (L < kBlock) {
      if (n - kBlock + L > 0) result.resize(n - kBlock + L);
    } else {
      context.Notify("Warning - Incorrect length field", "Length");
      status = 1;
    }
  }
  plaintext = std::move(result);
  return status;
}

}  // namespace lockvale
