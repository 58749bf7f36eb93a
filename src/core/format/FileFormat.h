#pragma once

#include <cstdint>

#include "format/FormatContext.h"
#include "util/ByteStream.h"

namespace lockvale {

// The encrypted-file form: the plaintext's whole blocks, then one block holding the
// remaining bytes, zero padding and their count. Both return cEncrypt's file status
// codes; read and write failures throw std::system_error.
int EncryptFile(const FormatContext& context, ByteSource& plaintext, ByteSink& ciphertext);
int DecryptFile(const FormatContext& context, ByteSink& plaintext, ByteSource& ciphertext);

// False, after telling the user, when a ciphertext of this size cannot be decrypted.
bool CiphertextSizeAccepted(const FormatContext& context, std::uint64_t size);

}  // namespace lockvale
