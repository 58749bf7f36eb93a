#include "jobs/BatchEntry.h"

#include "util/StringHelpers.h"

namespace lockvale {

std::string DestinationFor(const std::string& source, bool encrypting) {
  if (encrypting) return source + ".encr";
  const std::size_t at = RInStr(source, ".encr");
  return at == 1 ? std::string() : source.substr(0, at - 1);
}

std::vector<BatchEntry> BatchRowsFor(std::vector<std::string> paths, bool encrypting,
                                     const std::string& overwrite,
                                     const std::string& deleteSource) {
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
