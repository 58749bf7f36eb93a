#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "cipher/BlockCipher.h"

namespace lockvale {

// Receives the offset of the block just processed: non-decreasing, at most about once per
// 64 KiB, and always for the last block.
using ProgressCallback = std::function<void(std::uint64_t offset)>;

// What the buffer and file formats need besides the data: the keyed block cipher, where
// progress goes, and a flag that, once set, stops a file at the next chunk.
struct FormatContext {
  const BlockCipher& cipher;
  const ProgressCallback& progress;
  const std::atomic<bool>* cancel = nullptr;

  bool CancelRequested() const { return cancel != nullptr && cancel->load(); }
  // Transforms a chunk of whole blocks in place, in slices, reporting progress after each.
  void Transform(bool encrypt, std::uint8_t* data, std::size_t size,
                 std::uint64_t fileOffset) const;
};

}  // namespace lockvale
