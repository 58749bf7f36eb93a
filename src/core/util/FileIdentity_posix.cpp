#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "util/FileIdentity.h"
#include "util/PosixIo.h"

namespace lockvale {

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::uint64_t FileLength(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) posix::ThrowErrno(errno, "Cannot read " + path);
  if (S_ISDIR(info.st_mode)) posix::ThrowErrno(EISDIR, "Cannot read " + path);
  return static_cast<std::uint64_t>(info.st_size);
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsReadOnly(const std::string& path) {
  // The mode bits decide, not access(), which always says yes to root.
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::optional<std::string> RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0) return std::nullopt;
  return std::generic_category().message(errno);
}

}  // namespace lockvale
