#include "startup/CommandLine.h"

#include "util/ProgramNames.h"

namespace lockvale {

namespace {

// The path inside a quoted argument, with or without the blank after the closing quote;
// nothing when the quotes do not enclose a path.
std::optional<std::string> UnquotedPath(std::string argument) {
  if (argument.ends_with(' ')) argument.pop_back();
  if (argument.size() < 3 || !argument.ends_with('"')) return std::nullopt;
  return argument.substr(1, argument.size() - 2);
}

}  // namespace

std::optional<FilePreset> PresetFromCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty() || arguments.front().empty()) return std::nullopt;
  std::optional<std::string> path = arguments.front();
  if (path->front() == '"') path = UnquotedPath(*path);
  if (!path) return std::nullopt;
  const std::size_t encr = path->find(Extension);
  if (encr != std::string::npos) return FilePreset{*path, path->substr(0, encr), true};
  return FilePreset{*path, *path + Extension, false};
}

}  // namespace lockvale
