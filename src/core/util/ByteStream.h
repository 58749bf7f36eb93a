#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>

namespace lockvale {

// Where the cipher's file operations read from. Failures throw std::system_error.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads up to `size` bytes; returns fewer only at the end of the data.
  virtual std::size_t Read(std::uint8_t* data, std::size_t size) = 0;
  // Reads up to `size` bytes from `offset` on, leaving where Read goes on as it was; fewer only
  // at the end of the data. A source that can only be read in order throws.
  virtual std::size_t ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size) {
    (void)offset, (void)data, (void)size;
    throw std::system_error(std::make_error_code(std::errc::invalid_seek),
                            "This source can only be read from start to end");
  }
};

// Where the cipher's file operations write to. Failures, short writes
// included, throw std::system_error; a write that returns has stored everything.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
};

}  // namespace lockvale
