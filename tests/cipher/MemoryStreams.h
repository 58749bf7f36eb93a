#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

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
    std::memcpy(out, data_.data() + position_, n);
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

}  // namespace lockvale::test
