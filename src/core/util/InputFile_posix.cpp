#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "util/InputFile.h"
#include "util/PosixIo.h"

namespace lockvale {
namespace {

// Reads until `size` bytes or the end of the file; `call` reads once at `done` bytes in.
template <typename Call>
std::size_t ReadFully(std::uint8_t* data, std::size_t size, const std::string& path, Call call) {
  std::size_t total = 0;
  while (total < size) {
    const ssize_t got = call(data + total, size - total, total);
    if (got < 0) {
      if (errno == EINTR) continue;
      posix::ThrowErrno(errno, "Cannot read " + path);
    }
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

std::int64_t Nanoseconds(const timespec& time) {
  return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
}

// Removing the file's last name moves its change time, not its content; the result is then the
// only copy, so that alone is no change. A file renamed over it is.
bool OnlyRemoved(const struct stat& info, const std::string& path) {
  struct stat named {};
  return info.st_nlink == 0 && ::lstat(path.c_str(), &named) != 0 && errno == ENOENT;
}

}  // namespace

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
  m_Modified = Nanoseconds(info.st_mtim);
  m_Changed = Nanoseconds(info.st_ctim);
  m_PermissionBits = info.st_mode & 0777;
  ::posix_fadvise(m_Handle, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
  ::close(m_Handle);
}

bool InputFile::OthersMayRead() const {
  return (m_PermissionBits & (S_IRGRP | S_IROTH)) != 0;
}

void InputFile::ExpectUnchanged() const {
  struct stat info {};
  if (::fstat(m_Handle, &info) != 0) posix::ThrowErrno(errno, "Cannot read " + m_Path);
  if (static_cast<std::uint64_t>(info.st_size) != m_Size ||
      Nanoseconds(info.st_mtim) != m_Modified ||
      (Nanoseconds(info.st_ctim) != m_Changed && !OnlyRemoved(info, m_Path)))
    throw SourceChanged(m_Path);
}

std::size_t InputFile::Read(std::uint8_t* data, std::size_t size) {
  return ReadFully(data, size, m_Path, [this](std::uint8_t* at, std::size_t wanted, std::size_t) {
    return ::read(m_Handle, at, wanted);
  });
}

std::size_t InputFile::ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size) {
  return ReadFully(data, size, m_Path,
                   [this, offset](std::uint8_t* at, std::size_t wanted, std::size_t done) {
                     return ::pread(m_Handle, at, wanted, static_cast<off_t>(offset + done));
                   });
}

}  // namespace lockvale
