#pragma once

#include <cstddef>
#include <cstdint>

#include "format/cEncrypt.h"

namespace lockvale {

// What the buffer and file formats need of the cipher object: its block transforms,
// where to tell the user about data that cannot be decrypted, and where progress goes.
struct FormatContext {
  const cEncrypt& cipher;
  Notifier* notifier;
  const cEncrypt::ProgressCallback& progress;

  void Notify(const char* text, const char* title) const;
  // Transforms a chunk of whole blocks in place, in slices, reporting progress after each.
  void Transform(bool encrypt, std::uint8_t* data, std::size_t size,
                 std::uint64_t fileOffset) const;
};

}  // namespace lockvale
