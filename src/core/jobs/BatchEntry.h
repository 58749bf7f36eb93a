#pragma once

#include <string>
#include <vector>

#include "jobs/JobRequest.h"

namespace lockvale {

// One row of the batch list.
struct BatchEntry {
  std::string source;
  std::string destination;    // may be empty
  bool overwrite = false;     // an existing destination is replaced
  bool deleteSource = false;  // after the row's result is in place
  bool operator==(const BatchEntry&) const = default;
};

// The destination a source gets: the source plus ".encr", or ".lkv" for the sealed format, when
// encrypting; when decrypting, the source cut before the last ".encr" or ".lkv" in its file
// name (after the last "/", or "\" on Windows) found from the name's second character on, or
// nothing when the name has neither, so that no result lands outside the source's folder. The
// test for the extensions heeds case.
std::string DestinationFor(const std::string& source, bool encrypting,
                           Format format = Format::Encr);

// Rows for the paths the file finder found, with the two flags. Decrypting takes only the paths
// that DestinationFor gives a name.
std::vector<BatchEntry> BatchRowsFor(std::vector<std::string> paths, bool encrypting,
                                     bool overwrite, bool deleteSource,
                                     Format format = Format::Encr);

}  // namespace lockvale
