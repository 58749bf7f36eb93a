#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Small helpers shared by the Windows file classes. Paths are UTF-8 inside the program and
// UTF-16 only at the Windows calls.
namespace lockvale::windows {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// Throws std::system_error with the errno that matches the Windows error, so that callers
// see the same codes and texts as on other systems.
[[noreturn]] void ThrowError(unsigned long error, const std::string& what);
[[noreturn]] void ThrowLastError(const std::string& what);
// The text of the errno that matches the Windows error.
std::string ErrorText(unsigned long error);

[[noreturn]] void ThrowIsFolder(const std::string& what);

// The file's attributes, or INVALID_FILE_ATTRIBUTES when it is missing.
unsigned long AttributesOf(const std::string& path);
bool IsFolderAttributes(unsigned long attributes);

// Writes everything or throws; a write that stores nothing counts as a full disk.
void WriteAll(void* handle, const std::uint8_t* data, std::size_t size, const std::string& path);

}  // namespace lockvale::windows
