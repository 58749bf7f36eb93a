#include "cli/CliOptions.h"

#include <charconv>

#include "jobs/BatchEntry.h"

namespace lockvale {

const char* const kCliUsage =
    "usage: lockvale-cli encrypt|decrypt [--key-bits 128|192|256] --key-file FILE\n"
    "                    [-o DEST] [--overwrite] [--delete-source] SOURCE\n";

std::string DefaultDestination(const std::string& source, Direction direction) {
  return DestinationFor(source, direction == Direction::Encrypt);
}

CliParseResult ParseCliOptions(const std::vector<std::string>& arguments) {
  auto fail = [](std::string message) { return CliParseResult{std::nullopt, std::move(message)}; };
  if (arguments.empty()) return fail("missing command");
  CliOptions options;
  if (arguments[0] == "encrypt")
    options.direction = Direction::Encrypt;
  else if (arguments[0] == "decrypt")
    options.direction = Direction::Decrypt;
  else
    return fail("unknown command '" + arguments[0] + "'");

  bool haveSource = false, optionsEnded = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= arguments.size()) return false;
      into = arguments[++i];
      return true;
    };
    std::string text;
    if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
      if (haveSource) return fail("only one source file can be given");
      options.source = argument;
      haveSource = true;
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--key-bits") {
      if (!value(text)) return fail("--key-bits needs a value");
      auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), options.keyBits);
      if (error != std::errc() || end != text.data() + text.size())
        return fail("--key-bits takes a number of bits");
    } else if (argument == "--key-file") {
      if (!value(options.keyFile)) return fail("--key-file needs a file name");
    } else if (argument == "-o" || argument == "--output") {
      if (!value(options.destination)) return fail(argument + " needs a file name");
    } else if (argument == "--overwrite") {
      options.overwrite = true;
    } else if (argument == "--delete-source") {
      options.deleteSource = true;
    } else {
      return fail("unknown option '" + argument + "'");
    }
  }
  if (options.keyFile.empty()) return fail("--key-file is required");
  if (!haveSource) return fail("missing source file");
  if (options.destination.empty())
    options.destination = DefaultDestination(options.source, options.direction);
  return CliParseResult{options, {}};
}

}  // namespace lockvale
