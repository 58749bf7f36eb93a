#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "util/InputFile.h"
#include "util/PosixIo.h"

namespace lockvale {

InputFile::InputFile(const std::string& path) : m_Path(path) {
  m_Handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (m_Handle < 0) posix::ThrowErrno(errno, "Cannot open " + path);
  struct stat info {};
  if (::fstat(m_Handle, &info) != 0) {
    int error = errno;
    ::close(m_Handle);
    posix::ThrowErrno(error, "Cannot read " + path);
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(m_Handle);
    posix::ThrowErrno(EISDIR, "Cannot read " + path);
  }
  m_Size = static_cast<std::uint64_t>(info.st_size);
  m_PermissionBits = info.st_mode & 0777;
  ::posix_fadvise(m_Handle, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
  ::close(m_Handle);
}

bool InputFile::OthersMayRead() const {
  return (m_PermissionBits & (S_IRGRP | S_IROTH)) != 0;
}

std::size_t InputFile::Read(std::uint8_t* data, std::size_t size) {
  std::size_t total = 0;
  while (total < size) {
    ssize_t got = ::read(m_Handle, data + total, size - total);
    if (got < 0) {
      if (errno == EINTR) continue;
      posix::ThrowErrno(errno, "Cannot read " + m_Path);
    }
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

}  // namespace lockvale
