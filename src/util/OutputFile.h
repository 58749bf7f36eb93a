#pragma once

#include <string>

#include "util/ByteStream.h"

namespace lockvale {

// A file created (or truncated) for binary writing under its final name.
// Close() reports errors that only show when the data reaches the disk.
class OutputFile : public ByteSink {
 public:
  explicit OutputFile(const std::string& path);
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(const std::uint8_t* data, std::size_t size) override;
  void Close();

 private:
  std::string m_Path;
  int m_Handle = -1;
};

}  // namespace lockvale
