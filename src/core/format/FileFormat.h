#pragma once

#include <cstdint>

#include "format/FormatContext.h"
#include "format/FormatResult.h"
#include "util/ByteStream.h"

namespace lockvale {

// The encrypted-file form: the plaintext's whole blocks, then one block holding the remaining
// bytes, zero padding and their count. Both stop at the next chunk once the context's cancel
// flag is set, with what was written left unfinished; read and write failures throw
// std::system_error. Decrypting makes CheckCiphertext's checks before it writes anything.
FormatResult EncryptFile(const FormatContext& context, ByteSource& plaintext, ByteSink& ciphertext);
FormatResult DecryptFile(const FormatContext& context, ByteSink& plaintext, ByteSource& ciphertext);

// Done for a ciphertext size that can be decrypted: whole blocks, at least one.
FormatResult CheckCiphertextSize(std::uint64_t size);
// The size, then the length byte of the final block, decrypted first on its own: a wrong key is
// refused after reading one block, however long the file.
FormatResult CheckCiphertext(const FormatContext& context, ByteSource& ciphertext);

}  // namespace lockvale
