#include "cli/CliOptions.h"

#include <optional>
#include <utility>

#include "cli/UsageError.h"

namespace lockvale {
namespace {

bool IsOption(const std::string& argument) {
  return argument.size() > 1 && argument[0] == '-';
}

bool ApplyFlag(CliOptions& options, const std::string& name) {
  if (name == "-r" || name == "--recursive")
    options.recursive = true;
  else if (name == "--overwrite")
    options.overwrite = true;
  else if (name == "--delete-source")
    options.deleteSource = true;
  else if (name == "-q" || name == "--quiet")
    options.quiet = true;
  else if (name == "-h" || name == "--help")
    options.command = CliCommand::Help;
  else if (name == "--version")
    options.command = CliCommand::Version;
  else
    return false;
  return true;
}

// Where the value of an option that takes one goes; null for any other name.
std::string* ValueField(CliOptions& options, const std::string& name, std::string& keyBits) {
  if (name == "-o" || name == "--output") return &options.output;
  if (name == "--key-file") return &options.keyFile;
  if (name == "--key-bits") return &keyBits;
  return nullptr;
}

// "--name=value" as its two parts; any other argument as its name alone.
std::pair<std::string, std::optional<std::string>> SplitInlineValue(const std::string& argument) {
  const std::size_t equals = argument.find('=');
  if (!argument.starts_with("--") || equals == std::string::npos) return {argument, std::nullopt};
  return {argument.substr(0, equals), argument.substr(equals + 1)};
}

// An option that takes a value, as "--name value" or "--name=value"; false for any other.
bool ApplyValue(CliOptions& options, const std::vector<std::string>& arguments, std::size_t& at,
                std::string& keyBits) {
  const auto [name, inlineValue] = SplitInlineValue(arguments[at]);
  std::string* field = ValueField(options, name, keyBits);
  if (field == nullptr) return false;
  if (!inlineValue && at + 1 == arguments.size()) throw UsageError(name + " needs a value");
  *field = inlineValue ? *inlineValue : arguments[++at];
  if (field->empty()) throw UsageError(name + " needs a value");
  return true;
}

int KeyBitsFrom(const std::string& text) {
  if (text == "128" || text == "192" || text == "256") return std::stoi(text);
  throw UsageError("--key-bits takes 128, 192 or 256, not '" + text + "'");
}

Direction DirectionFrom(const std::string& word) {
  if (word == "encrypt") return Direction::Encrypt;
  if (word == "decrypt") return Direction::Decrypt;
  throw UsageError("unknown command '" + word + "'");
}

// The command words and the files, which follow the command.
void ApplyWords(CliOptions& options, std::vector<std::string> words) {
  if (words.empty()) throw UsageError("missing command");
  if (words[0] == "text") {
    options.command = CliCommand::Text;
    if (words.size() != 2) throw UsageError("text takes encrypt or decrypt and no files");
    options.direction = DirectionFrom(words[1]);
    return;
  }
  options.direction = DirectionFrom(words[0]);
  options.paths.assign(words.begin() + 1, words.end());
  if (options.paths.empty()) throw UsageError("missing FILE");
}

void CheckCombination(const CliOptions& options) {
  const bool fileOptions =
      !options.output.empty() || options.recursive || options.overwrite || options.deleteSource;
  if (options.command == CliCommand::Text && fileOptions)
    throw UsageError("text mode takes only --key-bits, --key-file and --quiet");
  if (!options.output.empty() && (options.paths.size() != 1 || options.recursive))
    throw UsageError("-o/--output takes a single FILE, without -r");
}

}  // namespace

CliOptions ParseCliOptions(const std::vector<std::string>& arguments) {
  CliOptions options;
  std::vector<std::string> words;
  std::string keyBits = "128";
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || !IsOption(argument)) {
      words.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (ApplyFlag(options, argument)) {
      if (options.command != CliCommand::Files) return options;  // --help or --version
    } else if (!ApplyValue(options, arguments, i, keyBits)) {
      throw UsageError("unknown option '" + argument + "'");
    }
  }
  options.keyBits = KeyBitsFrom(keyBits);
  ApplyWords(options, std::move(words));
  CheckCombination(options);
  return options;
}

}  // namespace lockvale
