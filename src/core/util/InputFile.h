#pragma once

#include <cstdint>
#include <string>
#include <system_error>

#include "util/ByteStream.h"

namespace lockvale {

// Someone wrote to a source while it was read: "NAME changed while it was read".
class SourceChanged : public std::system_error {
 public:
  explicit SourceChanged(const std::string& path)
      : std::system_error(std::make_error_code(std::errc::io_error)),
        m_Text(path + " changed while it was read") {}
  const char* what() const noexcept override { return m_Text.c_str(); }

 private:
  std::string m_Text;
};

// A file opened for binary reading; closed when the object goes away.
class InputFile : public ByteSource {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile() override;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  std::uint64_t Size() const override { return m_Size; }
  std::size_t Read(std::uint8_t* data, std::size_t size) override;
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size) override;
  // The permission bits a copy of this file should get (before the umask).
  std::uint32_t PermissionBits() const { return m_PermissionBits; }
  // Whether its permission bits let the owner's group or everyone read it.
  bool OthersMayRead() const;
  // Throws SourceChanged when the file's size or times are not those it had when it was opened.
  void ExpectUnchanged() const;

 private:
  std::string m_Path;
  std::intptr_t m_Handle = -1;  // a descriptor, or a Windows HANDLE
  std::uint64_t m_Size = 0;
  std::int64_t m_Modified = 0;
  std::int64_t m_Changed = 0;  // the status change time; on Windows the creation time
  std::uint32_t m_PermissionBits = 0666;
};

}  // namespace lockvale
