#include <windows.h>

#include <algorithm>

#include "util/InputFile.h"
#include "util/WindowsIo.h"

namespace lockvale {
namespace {

HANDLE Handle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

constexpr DWORD kLargestRead = 1u << 30;

std::uint64_t SizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
}

std::int64_t Ticks(const FILETIME& time) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(time.dwHighDateTime) << 32 |
                                   time.dwLowDateTime);
}

}  // namespace

InputFile::InputFile(const std::string& path) : m_Path(path) {
  // Others may go on reading, writing or deleting it, as they could elsewhere.
  const HANDLE handle = ::CreateFileW(windows::Wide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    // A folder cannot be opened this way at all; say so as other systems do.
    if (windows::IsFolderAttributes(windows::AttributesOf(path)))
      windows::ThrowIsFolder("Cannot read " + path);
    windows::ThrowError(error, "Cannot open " + path);
  }
  m_Handle = reinterpret_cast<std::intptr_t>(handle);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) {
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    windows::ThrowError(error, "Cannot read " + path);
  }
  m_Size = SizeOf(info);
  m_Modified = Ticks(info.ftLastWriteTime);
  m_Changed = Ticks(info.ftCreationTime);
  // Read-only is all Windows keeps of permissions; a copy is read-only too.
  m_PermissionBits = info.dwFileAttributes & FILE_ATTRIBUTE_READONLY ? 0444 : 0666;
}

InputFile::~InputFile() {
  ::CloseHandle(Handle(m_Handle));
}

// Who may read a file is in its access list here, which is not looked at.
bool InputFile::OthersMayRead() const {
  return false;
}

void InputFile::ExpectUnchanged() const {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(Handle(m_Handle), &info))
    windows::ThrowLastError("Cannot read " + m_Path);
  if (SizeOf(info) != m_Size || Ticks(info.ftLastWriteTime) != m_Modified ||
      Ticks(info.ftCreationTime) != m_Changed)
    throw SourceChanged(m_Path);
}

std::size_t InputFile::Read(std::uint8_t* data, std::size_t size) {
  std::size_t total = 0;
  while (total < size) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - total, kLargestRead));
    if (!::ReadFile(Handle(m_Handle), data + total, chunk, &got, nullptr))
      windows::ThrowLastError("Cannot read " + m_Path);
    if (got == 0) break;
    total += got;
  }
  return total;
}

// A read at an offset moves the file pointer of a handle opened for reading in order; it is put
// back after.
std::size_t InputFile::ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size) {
  const HANDLE handle = Handle(m_Handle);
  LARGE_INTEGER here{}, there{};
  there.QuadPart = static_cast<LONGLONG>(offset);
  if (!::SetFilePointerEx(handle, LARGE_INTEGER{}, &here, FILE_CURRENT) ||
      !::SetFilePointerEx(handle, there, nullptr, FILE_BEGIN))
    windows::ThrowLastError("Cannot read " + m_Path);
  const std::size_t total = Read(data, size);
  if (!::SetFilePointerEx(handle, here, nullptr, FILE_BEGIN))
    windows::ThrowLastError("Cannot read " + m_Path);
  return total;
}

}  // namespace lockvale
