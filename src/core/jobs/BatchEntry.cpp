#include "jobs/BatchEntry.h"

#include <algorithm>
#include <filesystem>

#include "util/ProgramNames.h"
#include "util/StringHelpers.h"

namespace lockvale {

std::string DestinationFor(const std::string& source, bool encrypting, Format format) {
  if (encrypting) return source + (format == Format::Lkv ? SealedExtension : Extension);
  // A backslash separates names too where it is the system's separator.
  const char separators[] = {'/', static_cast<char>(std::filesystem::path::preferred_separator)};
  const std::size_t nameStart = source.find_last_of(separators, std::string::npos, 2) + 1;
  std::size_t cut = 0;
  for (const char* extension : {Extension, SealedExtension})
    if (const std::size_t at = source.rfind(extension); at != std::string::npos && at > nameStart)
      cut = std::max(cut, at);
  return source.substr(0, cut);
}

std::vector<BatchEntry> BatchRowsFor(std::vector<std::string> paths, bool encrypting,
                                     bool overwrite, bool deleteSource, Format format) {
  std::vector<BatchEntry> rows;
  rows.reserve(paths.size());
  for (std::string& path : paths) {
    std::string destination = DestinationFor(path, encrypting, format);
    if (destination.empty()) continue;  // decrypting, and no extension to cut at
    rows.push_back({std::move(path), std::move(destination), overwrite, deleteSource});
  }
  return rows;
}

}  // namespace lockvale
