#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "format/FormatContext.h"

namespace lockvale {

// The buffer form: blocks of zero-padded data, optionally ending in a length byte
// (the count of bytes in the last block). Status codes: 0 success, 1 a bad length
// byte, -1 a ciphertext size that is not a whole number of blocks.
int EncryptBuffer(const FormatContext& context, std::span<const std::uint8_t> plaintext,
                  std::vector<std::uint8_t>& ciphertext, bool lengthByte);
int DecryptBuffer(const FormatContext& context, std::vector<std::uint8_t>& plaintext,
                  std::span<const std::uint8_t> ciphertext, bool lengthByte);

}  // namespace lockvale
