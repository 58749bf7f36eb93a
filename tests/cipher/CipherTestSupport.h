#pragma once

#include <algorithm>
#include <cstdint>

#include "TestSupport.h"
#include "util/ByteStream.h"

namespace lockvale::test {

// Serves a buffer; `claimedSize` lets a test pretend the data is longer than it is.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(Bytes data) : data_(std::move(data)), claimedSize_(data_.size()) {}
  MemorySource(Bytes data, std::uint64_t claimedSize)
      : data_(std::move(data)), claimedSize_(claimedSize) {}
  std::uint64_t Size() const override { return claimedSize_; }
  std::size_t Read(std::uint8_t* out, std::size_t size) override {
    std::size_t n = std::min(size, data_.size() - position_);
    std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(position_), n, out);
    position_ += n;
    return n;
  }

 private:
  Bytes data_;
  std::uint64_t claimedSize_;
  std::size_t position_ = 0;
};

class MemorySink : public ByteSink {
 public:
  void Write(const std::uint8_t* data, std::size_t size) override {
    bytes.insert(bytes.end(), data, data + size);
  }
  Bytes bytes;
};

// A key (found by a deterministic search) under which `block` decrypts to a
// block ending in `lastByte`: a wrong key giving a chosen length byte.
inline Bytes KeyDecryptingToLastByte(const Bytes& block, int keyBits, std::uint8_t lastByte) {
  for (std::uint64_t seed = 1;; ++seed) {
    Bytes key = RandomBytes(32, seed);
    if (OpenSslEcb(false, key, keyBits, block).back() == lastByte) return key;
  }
}

}  // namespace lockvale::test
