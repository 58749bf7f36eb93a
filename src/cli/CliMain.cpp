#include "cli/CliMain.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliHelp.h"
#include "cli/CliOptions.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/FileCommand.h"
#include "cli/KeySource.h"
#include "cli/TextCommand.h"
#include "cli/UsageError.h"
#include "util/ProgramNames.h"
#include "util/RaisedError.h"

namespace lockvale {
namespace {

int RunFiles(const CliOptions& options) {
  // Progress is for a person watching; a log or a pipe gets only the failures.
  std::optional<ProgressLine> progress;
  if (!options.quiet && console::ErrorsOnTerminal())
    progress.emplace(std::cerr, console::TerminalWidth());
  ProgressLine* shown = progress ? &*progress : nullptr;
  StreamNotifier notifier(std::cerr, shown);
  const bool encrypting = options.direction == Direction::Encrypt;
  const SecretText keyText = ObtainKeyText(options.keyFile, encrypting);
  // A sealed file takes the key as Unicode, which no code page limits.
  if (encrypting && options.format == Format::Encr) RefuseUnheldCharacters("key", keyText.View());
  return FileCommand(options, notifier, shown).Run(keyText);
}

int RunCommand(const CliOptions& options) {
  switch (options.command) {
    case CliCommand::Help:
      std::cout << kCliUsage << kCliHelpBody;
      return kExitDone;
    case CliCommand::Version:
      std::cout << "lockvale-cli " << CurrentVersion << '\n';
      return kExitDone;
    case CliCommand::Text: {
      StreamNotifier notifier(std::cerr);
      return RunTextCommand(options, std::cin, std::cout, notifier);
    }
    case CliCommand::Files:
    case CliCommand::Verify:
      break;
  }
  return RunFiles(options);
}

int Fail(const char* reason, int status) {
  std::cerr << "lockvale-cli: " << reason << '\n';
  return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments) {
  CliOptions options;
  try {
    options = ParseCliOptions(arguments);
  } catch (const UsageError& error) {
    std::cerr << "lockvale-cli: " << error.what() << '\n' << kCliUsage;
    return kExitUsage;
  }
  // Past the options, these come before any file is touched: the key and its code page.
  try {
    return RunCommand(options);
  } catch (const UsageError& error) {
    return Fail(error.what(), kExitUsage);
  } catch (const RaisedError& error) {
    return Fail(error.what(), kExitUsage);
  } catch (const std::exception& error) {
    return Fail(error.what(), kExitFileFailed);
  }
}

}  // namespace lockvale
