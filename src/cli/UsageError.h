#pragma once

#include <stdexcept>
#include <string>

namespace lockvale {

// A command line that cannot be carried out as given: the tool stops before any file is
// touched and exits with status 2.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace lockvale
