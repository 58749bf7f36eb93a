#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace lockvale {

// Buffers that start on a cache line: the cipher and the copies to and from the page cache run a
// few per cent faster on them.
inline constexpr std::align_val_t kCacheLine{64};

struct AlignedDelete {
  void operator()(std::uint8_t* buffer) const { ::operator delete(buffer, kCacheLine); }
};
using AlignedBuffer = std::unique_ptr<std::uint8_t[], AlignedDelete>;

inline AlignedBuffer NewAlignedBuffer(std::size_t size) {
  return AlignedBuffer(static_cast<std::uint8_t*>(::operator new(size, kCacheLine)));
}

}  // namespace lockvale
