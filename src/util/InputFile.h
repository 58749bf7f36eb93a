#pragma once

#include <cstdint>
#include <string>

#include "util/ByteStream.h"

namespace lockvale {

// A file opened for binary reading; closed when the object goes away.
class InputFile : public ByteSource {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile() override;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  std::uint64_t Size() const override { return m_Size; }
  std::size_t Read(std::uint8_t* data, std::size_t size) override;
  // The permission bits a copy of this file should get (before the umask).
  std::uint32_t PermissionBits() const { return m_PermissionBits; }
  // Whether its permission bits let the owner's group or everyone read it.
  bool OthersMayRead() const;

 private:
  std::string m_Path;
  std::intptr_t m_Handle = -1;  // a descriptor, or a Windows HANDLE
  std::uint64_t m_Size = 0;
  std::uint32_t m_PermissionBits = 0666;
};

}  // namespace lockvale
