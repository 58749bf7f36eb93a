#include "cli/CliOptions.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
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

// The values that are checked once every argument is read.
struct ValueTexts {
  std::string keyBits = "128", format, kdfPasses, kdfMemory;
};

// Where the value of an option that takes one goes; null for any other name.
std::string* ValueField(CliOptions& options, const std::string& name, ValueTexts& texts) {
  if (name == "-o" || name == "--output") return &options.output;
  if (name == "--key-file") return &options.keyFile;
  if (name == "--key-bits") return &texts.keyBits;
  if (name == "--format") return &texts.format;
  if (name == "--kdf-passes") return &texts.kdfPasses;
  if (name == "--kdf-memory") return &texts.kdfMemory;
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
                ValueTexts& texts) {
  const auto [name, inlineValue] = SplitInlineValue(arguments[at]);
  std::string* field = ValueField(options, name, texts);
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

Format FormatFrom(const std::string& text, const char* name) {
  if (text == "encr") return Format::Encr;
  if (text == "lkv") return Format::Lkv;
  throw UsageError(std::string(name) + " takes encr or lkv, not '" + text + "'");
}

// A whole number from `lowest` to `highest`; empty text gives `unset`.
std::uint32_t NumberFrom(const std::string& text, std::uint32_t unset, std::uint32_t lowest,
                         std::uint32_t highest, const std::string& refusal) {
  if (text.empty()) return unset;
  if (text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    throw UsageError(refusal + ", not '" + text + "'");
  const auto number = static_cast<std::uint32_t>(std::stoul(text));
  if (number < lowest || number > highest) throw UsageError(refusal + ", not '" + text + "'");
  return number;
}

// Writing takes no less than 64 MiB, whatever a reader accepts, and no more than a reader does.
KdfSettings KdfFrom(const ValueTexts& texts) {
  const KdfSettings defaults;
  return {NumberFrom(texts.kdfPasses, defaults.passes, 1, 64, "--kdf-passes takes 1 to 64"),
          NumberFrom(texts.kdfMemory, defaults.memoryKiB / 1024, 64, 4096,
                     "--kdf-memory takes 64 to 4096 (MiB)") *
              1024,
          defaults.lanes};
}

void ApplyValues(CliOptions& options, const ValueTexts& texts) {
  options.keyBits = KeyBitsFrom(texts.keyBits);
  const char* fromEnvironment = std::getenv("LOCKVALE_FORMAT");
  if (!texts.format.empty())
    options.format = FormatFrom(texts.format, "--format");
  else if (fromEnvironment != nullptr)
    options.format = FormatFrom(fromEnvironment, "LOCKVALE_FORMAT");
  options.kdf = KdfFrom(texts);
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
  const bool verifying = words[0] == "verify";  // reads files as decrypting does
  if (verifying) options.command = CliCommand::Verify;
  options.direction = verifying ? Direction::Decrypt : DirectionFrom(words[0]);
  options.paths.assign(words.begin() + 1, words.end());
  if (options.paths.empty()) throw UsageError("missing FILE");
}

// Standard input or output ("-") carries only sealed files, and there is no file to delete.
void CheckStreams(const CliOptions& options) {
  const bool fromInput = std::ranges::count(options.paths, kStandardStream) > 0;
  if (!fromInput && options.output != kStandardStream) return;
  if (options.command == CliCommand::Files && options.direction == Direction::Encrypt &&
      options.format != Format::Lkv)
    throw UsageError("standard input and output (-) take only sealed files (--format lkv)");
  if (options.deleteSource) throw UsageError("--delete-source needs files, not -");
  if (fromInput && options.command == CliCommand::Files && options.output.empty())
    throw UsageError("standard input (-) needs -o PATH, or -o - for standard output");
}

void CheckCombination(const CliOptions& options, const ValueTexts& texts) {
  const bool fileOptions =
      !options.output.empty() || options.recursive || options.overwrite || options.deleteSource;
  const bool formatOptions =
      !texts.format.empty() || !texts.kdfPasses.empty() || !texts.kdfMemory.empty();
  if (options.command == CliCommand::Text && (fileOptions || formatOptions))
    throw UsageError("text mode takes only --key-bits, --key-file and --quiet");
  if (options.command == CliCommand::Verify && fileOptions)
    throw UsageError("verify takes only --key-bits, --key-file and --quiet");
  if ((!texts.kdfPasses.empty() || !texts.kdfMemory.empty()) &&
      (options.direction != Direction::Encrypt || options.format != Format::Lkv))
    throw UsageError("--kdf-passes and --kdf-memory are for encrypting with --format lkv");
  if (!options.output.empty() && (options.paths.size() != 1 || options.recursive))
    throw UsageError("-o/--output takes a single FILE, without -r");
  CheckStreams(options);
}

}  // namespace

CliOptions ParseCliOptions(const std::vector<std::string>& arguments) {
  CliOptions options;
  std::vector<std::string> words;
  ValueTexts texts;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || !IsOption(argument)) {
      words.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (ApplyFlag(options, argument)) {
      if (options.command != CliCommand::Files) return options;  // --help or --version
    } else if (!ApplyValue(options, arguments, i, texts)) {
      throw UsageError("unknown option '" + argument + "'");
    }
  }
  ApplyValues(options, texts);
  ApplyWords(options, std::move(words));
  CheckCombination(options, texts);
  return options;
}

}  // namespace lockvale
