#pragma once

#include <optional>
#include <string>
#include <vector>

#include "jobs/JobRequest.h"

namespace lockvale {

// The single-file job a command line asks for: the file, where its result goes, and whether
// it is to be decrypted.
struct FilePreset {
  std::string source;
  std::string destination;
  bool decrypt = false;
  bool operator==(const FilePreset&) const = default;
};

// The preset for the program's arguments (without the program's name). The desktop passes the
// file as the first argument; the quoted form "path" followed by a blank is also taken. A file
// whose name gives a decrypted name (DestinationFor) is decrypted to it, and a sealed file whose
// name gives none is decrypted to a name the user types; any other is encrypted to the path
// followed by the extension of `format`. Nothing when there is no usable name.
std::optional<FilePreset> PresetFromCommandLine(const std::vector<std::string>& arguments,
                                                Format format = Format::Encr);

}  // namespace lockvale
