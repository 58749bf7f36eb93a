#pragma once

#include <string>
#include <vector>

namespace lockvale {

// The whole of lockvale-cli: reads the arguments (those after its name), does the work,
// returns the exit status.
int RunCli(const std::vector<std::string>& arguments);

}  // namespace lockvale
