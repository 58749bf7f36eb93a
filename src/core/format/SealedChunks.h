#pragma once

#include <span>

#include "format/SealedFormat.h"

namespace lockvale {

// The chunks of a sealed file under its payload key, a batch at a time: read, sealed or opened,
// and written in order by two threads that take whichever step is ready. `header` goes out in the
// same write as the first batch.
SealedResult SealChunks(const std::uint8_t* payloadKey, std::span<const std::uint8_t> header,
                        ByteSource& plaintext, ByteSink& sealed, const SealedControl& control);
// Reads the chunks that follow the header; writes each batch only as far as its tags verify.
SealedResult OpenChunks(const std::uint8_t* payloadKey, ByteSource& payload, ByteSink& plaintext,
                        const SealedControl& control);

}  // namespace lockvale
