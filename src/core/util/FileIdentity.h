#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lockvale {

// True when both names lead to the same file on disk: the same path, another
// spelling of it, a symbolic link or a hard link. False when either is missing.
bool SameFile(const std::string& a, const std::string& b);

// True when the name is not empty and names a file of any kind other than a folder:
// hidden, read-only and special files count, as does a symbolic link.
bool FileExists(const std::string& path);

// The file's length in bytes; throws std::system_error "Cannot read <path>: ..." when it has none.
std::uint64_t FileLength(const std::string& path);

// True when the name is a regular file (following symbolic links).
bool IsRegularFile(const std::string& path);

// True when the file is read-only: no write permission for anyone, or on Windows its read-only
// mark. The user protected it against deletion.
bool IsReadOnly(const std::string& path);

// Deletes a file; the reason when it is still there.
std::optional<std::string> RemoveFile(const std::string& path);

}  // namespace lockvale
