#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "util/PosixIo.h"

namespace lockvale::posix {

void ThrowErrno(int error, const std::string& what) {
  throw std::system_error(error, std::generic_category(), what);
}

void WriteAll(int fd, const std::uint8_t* data, std::size_t size, const std::string& path) {
  while (size > 0) {
    ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno, "Cannot write " + path);
    }
    if (written == 0) ThrowErrno(ENOSPC, "Cannot write " + path);
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

void CloseChecked(int fd, const std::string& path) {
  // On Linux the descriptor is gone even when close fails, so no retry.
  if (::close(fd) != 0 && errno != EINTR) ThrowErrno(errno, "Cannot close " + path);
}

}  // namespace lockvale::posix
