#include <windows.h>

#include <optional>

#include "util/FileIdentity.h"
#include "util/WindowsIo.h"

namespace lockvale {
namespace {

// Opened for no access at all, so that neither sharing nor the read-only mark stands in the way;
// links are followed to the file they lead to.
std::optional<BY_HANDLE_FILE_INFORMATION> InformationOf(const std::string& path) {
  const HANDLE handle = ::CreateFileW(windows::Wide(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = ::GetFileInformationByHandle(handle, &info);
  ::CloseHandle(handle);
  return known ? std::optional(info) : std::nullopt;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  const auto first = InformationOf(a), second = InformationOf(b);
  return first && second && first->dwVolumeSerialNumber == second->dwVolumeSerialNumber &&
         first->nFileIndexHigh == second->nFileIndexHigh &&
         first->nFileIndexLow == second->nFileIndexLow;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = windows::AttributesOf(path);
  // A link counts as a file even when it leads to a folder, as on other systems.
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (!windows::IsFolderAttributes(attributes) || attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::uint64_t FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(windows::Wide(path).c_str(), GetFileExInfoStandard, &data))
    windows::ThrowLastError("Cannot read " + path);
  if (windows::IsFolderAttributes(data.dwFileAttributes))
    windows::ThrowIsFolder("Cannot read " + path);
  return static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

bool IsRegularFile(const std::string& path) {
  const auto info = InformationOf(path);
  return !path.empty() && info && !windows::IsFolderAttributes(info->dwFileAttributes);
}

bool IsReadOnly(const std::string& path) {
  const DWORD attributes = windows::AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_READONLY;
}

std::optional<std::string> RemoveFile(const std::string& path) {
  if (::DeleteFileW(windows::Wide(path).c_str())) return std::nullopt;
  return windows::ErrorText(::GetLastError());
}

}  // namespace lockvale
