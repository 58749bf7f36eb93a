#pragma once

#include <string>
#include <vector>

namespace lockvale {

// One row of the batch list.
struct BatchEntry {
  std::string source;
  std::string destination;    // may be empty
  bool overwrite = false;     // an existing destination is replaced
  bool deleteSource = false;  // after the row's result is in place
  bool operator==(const BatchEntry&) const = default;
};

// The destination a source gets: the source plus ".encr" when encrypting; when
// decrypting, the source cut before the last ".encr" in its file name (after the last
// "/", or "\" on Windows) found from the name's second character on, or nothing when the
// name has none, so that no result lands outside the source's folder. The test for
// ".encr" heeds case.
std::string DestinationFor(const std::string& source, bool encrypting);

// Rows for the paths the file finder found, with the two flags. Decrypting takes only the paths
// that DestinationFor gives a name.
std::vector<BatchEntry> BatchRowsFor(std::vector<std::string> paths, bool encrypting,
                                     bool overwrite, bool deleteSource);

}  // namespace lockvale
