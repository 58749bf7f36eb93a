#pragma once

#include <cstddef>
#include <cstdint>

#include "util/ByteStream.h"

namespace lockvale {

// Standard input as a source, in binary: it can only be read in order, and its size is not known
// beforehand.
class StandardInput : public ByteSource {
 public:
  StandardInput();
  // A guess, large enough that the sealed format works on its two threads.
  std::uint64_t Size() const override { return std::uint64_t{1} << 30; }
  std::size_t Read(std::uint8_t* data, std::size_t size) override;
};

// Standard output as a sink, in binary; a write that fails throws std::system_error.
class StandardOutput : public ByteSink {
 public:
  StandardOutput();
  void Write(const std::uint8_t* data, std::size_t size) override;
  void Flush();
};

}  // namespace lockvale
