#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "util/WindowsIo.h"

namespace lockvale::windows {
namespace {

constexpr DWORD kLargestCall = 1u << 30;

int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), size);
  wide.resize(static_cast<std::size_t>(length));
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

void ThrowError(unsigned long error, const std::string& what) {
  throw std::system_error(ErrnoOf(error), std::generic_category(), what);
}

void ThrowLastError(const std::string& what) {
  ThrowError(::GetLastError(), what);
}

std::string ErrorText(unsigned long error) {
  return std::generic_category().message(ErrnoOf(error));
}

void ThrowIsFolder(const std::string& what) {
  throw std::system_error(EISDIR, std::generic_category(), what);
}

unsigned long AttributesOf(const std::string& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(Wide(path).c_str());
}

bool IsFolderAttributes(unsigned long attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void WriteAll(void* handle, const std::uint8_t* data, std::size_t size, const std::string& path) {
  while (size > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, kLargestCall));
    if (!::WriteFile(handle, data, chunk, &written, nullptr))
      ThrowLastError("Cannot write " + path);
    if (written == 0) ThrowError(ERROR_DISK_FULL, "Cannot write " + path);
    data += written;
    size -= written;
  }
}

}  // namespace lockvale::windows
