#include <iostream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CliRunner.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::cout << lockvale::kCliUsage;
    return 0;
  }
  lockvale::CliParseResult parsed = lockvale::ParseCliOptions(arguments);
  if (!parsed.options) {
    std::cerr << "lockvale-cli: " << parsed.error << '\n' << lockvale::kCliUsage;
    return 2;
  }
  return lockvale::RunCli(*parsed.options, std::cerr);
}
