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
  m_Size = static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
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

}  // namespace lockvale
