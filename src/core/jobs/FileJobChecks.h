#pragma once

#include <optional>
#include <string>

namespace lockvale {

struct Refusal {
  std::string text;
  std::string title;
};

// The checks a file job makes before it asks anything, in their order: the first that
// fails, or nothing. The window shows it as a notice, the command line prints it.
std::optional<Refusal> CheckFileJob(const std::string& source, const std::string& destination,
                                    bool keyEmpty);

}  // namespace lockvale
