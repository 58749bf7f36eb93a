#include "jobs/BatchEntry.h"

#include <filesystem>

#include "util/ProgramNames.h"
#include "util/StringHelpers.h"

namespace lockvale {

std::string DestinationFor(const std::string& source, bool encrypting) {
  if (encrypting) return source + Extension;
  // A backslash separates names too where it is the system's separator.
  const char separators[] = {'/', static_cast<char>(std::filesystem::path::preferred_separator)};
  const std::size_t nameStart = source.find_last_of(separators, std::string::npos, 2) + 1;
  const std::size_t at = source.rfind(Extension);
  return at == std::string::npos || at <= nameStart ? std::string() : source.substr(0, at);
}

std::vector<BatchEntry> BatchRowsFor(std::vector<std::string> paths, bool encrypting,
                                     bool overwrite, bool deleteSource) {
  std::vector<BatchEntry> rows;
  rows.reserve(paths.size());
  for (std::string& path : paths) {
    std::string destination = DestinationFor(path, encrypting);
    if (destination.empty()) continue;  // decrypting, and no ".encr" to cut at
    rows.push_back({std::move(path), std::move(destination), overwrite, deleteSource});
  }
  return rows;
}

}  // namespace lockvale
