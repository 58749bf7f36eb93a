#pragma once

#include <cstdint>

namespace lockvale {

// What became of encrypting or decrypting one buffer or file, in either format. Damage is
// refused with where it was found: for a ragged ciphertext the offset where its whole blocks
// end, for a bad length byte that byte's offset, for a damaged sealed file the offset of the
// chunk that failed. A cancelled run gives the offset it had reached, when it knows it. The
// sealed format also refuses a file of a newer version, key-derivation settings it does not
// accept, and a header whose MAC does not match, which a wrong key gives.
struct FormatResult {
  enum Kind {
    Done,
    RaggedCiphertext,
    BadLengthByte,
    Cancelled,
    NewerVersion,
    UnacceptedSettings,
    WrongKeyOrHeader,
    Damaged
  };
  Kind kind = Done;
  std::uint64_t offset = 0;
  bool operator==(const FormatResult&) const = default;
};

}  // namespace lockvale
