#pragma once

#include <cstdint>

namespace lockvale {

// What became of encrypting or decrypting one buffer or file. Damage is refused with where it
// was found: for a ragged ciphertext the offset where its whole blocks end, for a bad length
// byte that byte's offset. A cancelled run gives the offset it had reached.
struct FormatResult {
  enum Kind { Done, RaggedCiphertext, BadLengthByte, Cancelled };
  Kind kind = Done;
  std::uint64_t offset = 0;
  bool operator==(const FormatResult&) const = default;
};

}  // namespace lockvale
