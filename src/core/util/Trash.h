#pragma once

#include <optional>
#include <string>

namespace lockvale {

// Moves a file to the user's trash, from which it can be taken back: on Linux the
// freedesktop.org trash of its file system, on Windows the recycle bin. The reason when no
// trash took it; the file is then where it was.
std::optional<std::string> MoveToTrash(const std::string& path);

}  // namespace lockvale
