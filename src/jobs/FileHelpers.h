#pragma once

#include <string>

namespace lockvale {

// True when the name is not empty and names a file of any kind other than a folder:
// hidden, read-only and special files count, as does a symbolic link.
bool FileExists(const std::string& path);

}  // namespace lockvale
