#include <windows.h>

#include "util/AtomicOutputFile.h"
#include "util/WindowsIo.h"

namespace lockvale {
namespace {

HANDLE Handle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

std::size_t NameStart(const std::string& path) {
  const std::size_t separator = path.find_last_of("/\\:");
  return separator == std::string::npos ? 0 : separator + 1;
}

// The read-only mark comes with the file from the start: the handle that creates it may still
// write. Hidden only until it is complete.
DWORD CreationAttributes(std::uint32_t permissionBits) {
  return FILE_ATTRIBUTE_HIDDEN | ((permissionBits & 0222) == 0 ? FILE_ATTRIBUTE_READONLY : 0);
}

void Unhide(HANDLE handle, const std::string& destination) {
  FILE_BASIC_INFO info{};
  if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info))
    windows::ThrowLastError("Cannot write " + destination);
  info.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN);
  if (info.FileAttributes == 0) info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  if (!::SetFileInformationByHandle(handle, FileBasicInfo, &info, sizeof info))
    windows::ThrowLastError("Cannot write " + destination);
}

// A read-only file cannot be replaced; the user has agreed to the replacing, so the mark goes.
// Returns the attributes to put back should the replacing fail.
DWORD ClearReadOnly(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
    return INVALID_FILE_ATTRIBUTES;
  const DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  ::SetFileAttributesW(path.c_str(), writable == 0 ? FILE_ATTRIBUTE_NORMAL : writable);
  return attributes;
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(const std::string& destination, std::uint32_t permissionBits)
    : m_Destination(destination), m_Folder(destination.substr(0, NameStart(destination))) {
  for (;;) {
    const std::string candidate = m_Folder + TemporaryName();
    const HANDLE handle = ::CreateFileW(windows::Wide(candidate).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, CreationAttributes(permissionBits), nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      m_Handle = reinterpret_cast<std::intptr_t>(handle);
      m_TempPath = candidate;
      return;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
      windows::ThrowError(error, "Cannot create " + destination);
  }
}

void AtomicOutputFile::Write(const std::uint8_t* data, std::size_t size) {
  windows::WriteAll(Handle(m_Handle), data, size, m_Destination);
}

// MOVEFILE_WRITE_THROUGH returns only once the new name is on the disk.
void AtomicOutputFile::Publish(bool replaceExisting) {
  const HANDLE handle = Handle(m_Handle);
  if (!::FlushFileBuffers(handle)) windows::ThrowLastError("Cannot write " + m_Destination);
  Unhide(handle, m_Destination);
  m_Handle = -1;
  if (!::CloseHandle(handle)) windows::ThrowLastError("Cannot close " + m_Destination);

  const std::wstring destination = windows::Wide(m_Destination);
  const DWORD readOnly = replaceExisting ? ClearReadOnly(destination) : INVALID_FILE_ATTRIBUTES;
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!::MoveFileExW(windows::Wide(m_TempPath).c_str(), destination.c_str(), flags)) {
    const DWORD error = ::GetLastError();
    if (readOnly != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(destination.c_str(), readOnly);
    windows::ThrowError(error, "Cannot create " + m_Destination);
  }
  m_TempPath.clear();
}

void AtomicOutputFile::Discard() noexcept {
  if (m_Handle != -1) ::CloseHandle(Handle(m_Handle));
  m_Handle = -1;
  if (m_TempPath.empty()) return;
  const std::wstring temp = windows::Wide(m_TempPath);
  ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only one cannot go
  ::DeleteFileW(temp.c_str());
  m_TempPath.clear();
}

// Windows ends a console program on Ctrl+C without signal handlers of this kind.
void AtomicOutputFile::RemoveUncommitted() noexcept {}

}  // namespace lockvale
