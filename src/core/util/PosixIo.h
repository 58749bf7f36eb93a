#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Small helpers shared by the POSIX file classes.
namespace lockvale::posix {

[[noreturn]] void ThrowErrno(int error, const std::string& what);
// Writes everything or throws; a write that stores nothing counts as a full disk.
void WriteAll(int fd, const std::uint8_t* data, std::size_t size, const std::string& path);
void CloseChecked(int fd, const std::string& path);

}  // namespace lockvale::posix
