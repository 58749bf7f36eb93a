#include "startup/CommandLine.h"

#include "format/SealedFormat.h"
#include "jobs/BatchEntry.h"
#include "util/InputFile.h"

namespace lockvale {

namespace {

// The path inside a quoted argument, with or without the blank after the closing quote;
// nothing when the quotes do not enclose a path.
std::optional<std::string> UnquotedPath(std::string argument) {
  if (argument.ends_with(' ')) argument.pop_back();
  if (argument.size() < 3 || !argument.ends_with('"')) return std::nullopt;
  return argument.substr(1, argument.size() - 2);
}

// A sealed file opens by its content, whatever its name says.
bool StartsSealed(const std::string& path) {
  try {
    InputFile file(path);
    return StartsSealed(file);
  } catch (const std::exception&) {
    return false;  // missing or unreadable: the job will say so
  }
}

}  // namespace

std::optional<FilePreset> PresetFromCommandLine(const std::vector<std::string>& arguments,
                                                Format format) {
  if (arguments.empty() || arguments.front().empty()) return std::nullopt;
  std::optional<std::string> path = arguments.front();
  if (path->front() == '"') path = UnquotedPath(*path);
  if (!path) return std::nullopt;
  std::string decrypted = DestinationFor(*path, false);
  if (!decrypted.empty() || StartsSealed(*path))
    return FilePreset{*path, std::move(decrypted), true};
  return FilePreset{*path, DestinationFor(*path, true, format), false};
}

}  // namespace lockvale
