#include "jobs/FileJobChecks.h"

#include "util/FileIdentity.h"

namespace lockvale {

std::optional<Refusal> CheckFileJob(const std::string& source, const std::string& destination,
                                    bool keyEmpty) {
  if (source.empty()) return Refusal{"Please enter a valid source filename", "Source filename"};
  if (!IsRegularFile(source))
    return Refusal{"Source file does not exist. Please enter a valid source filename",
                   "Source filename"};
  if (destination.empty())
    return Refusal{"Please enter a valid destination filename", "Destination filename"};
  if (keyEmpty) return Refusal{"Please enter a security key", "Security Key"};
  if (SameFile(source, destination))
    return Refusal{
        "The destination file is the same as the source file. Please enter a different "
        "destination filename",
        "Destination filename"};
  return std::nullopt;
}

}  // namespace lockvale
