#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "format/FormatContext.h"
#include "format/FormatResult.h"

namespace lockvale {

// The buffer form: blocks of zero-padded data, optionally ending in a length byte (the count
// of bytes in the last block). Decrypting refuses a size that is not a whole number of blocks,
// or no block at all when a length byte is expected, and leaves `plaintext` as it was; a bad
// length byte still gives the blocks, uncut.
FormatResult EncryptBuffer(const FormatContext& context, std::span<const std::uint8_t> plaintext,
                           std::vector<std::uint8_t>& ciphertext, bool lengthByte);
FormatResult DecryptBuffer(const FormatContext& context, std::vector<std::uint8_t>& plaintext,
                           std::span<const std::uint8_t> ciphertext, bool lengthByte);

}  // namespace lockvale
