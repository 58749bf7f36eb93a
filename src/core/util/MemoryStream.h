#pragma once

#include <algorithm>
#include <span>
#include <vector>

#include "util/ByteStream.h"

namespace lockvale {

// Bytes in memory as a source, as a text is read.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : m_Bytes(bytes) {}
  std::uint64_t Size() const override { return m_Bytes.size(); }
  std::size_t Read(std::uint8_t* data, std::size_t size) override {
    const std::size_t count = std::min(size, m_Bytes.size() - m_Read);
    std::copy_n(m_Bytes.begin() + static_cast<std::ptrdiff_t>(m_Read), count, data);
    m_Read += count;
    return count;
  }
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size) override {
    const std::size_t from =
        static_cast<std::size_t>(std::min<std::uint64_t>(offset, m_Bytes.size()));
    const std::size_t count = std::min(size, m_Bytes.size() - from);
    std::copy_n(m_Bytes.begin() + static_cast<std::ptrdiff_t>(from), count, data);
    return count;
  }

 private:
  std::span<const std::uint8_t> m_Bytes;
  std::size_t m_Read = 0;
};

// A sink that keeps what is written to it in memory.
class MemorySink : public ByteSink {
 public:
  void Write(const std::uint8_t* data, std::size_t size) override {
    bytes.insert(bytes.end(), data, data + size);
  }
  std::vector<std::uint8_t> bytes;
};

}  // namespace lockvale
