#pragma once

#include <cstddef>
#include <cstdint>

namespace lockvale {

// Where the cipher's file operations read from. Failures throw std::system_error.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads up to `size` bytes; returns fewer only at the end of the data.
  virtual std::size_t Read(std::uint8_t* data, std::size_t size) = 0;
};

// Where the cipher's file operations write to. Failures, short writes
// included, throw std::system_error; a write that returns has stored everything.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
};

}  // namespace lockvale
