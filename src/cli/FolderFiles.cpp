#include "cli/FolderFiles.h"

#include <algorithm>
#include <filesystem>

#include "fileselect/clsFileFind.h"
#include "util/PathText.h"
#include "util/ProgramNames.h"
#include "util/StringHelpers.h"

namespace lockvale {
namespace {

// The finder gives full paths; a file is named as the folder was given, so that messages
// name it the way the user did.
std::string AsGiven(const std::string& found, const std::string& fullRoot,
                    const std::string& root) {
  return !fullRoot.empty() && found.starts_with(fullRoot) ? root + found.substr(fullRoot.size())
                                                          : found;
}

}  // namespace

std::vector<std::string> FilesUnder(const std::string& folder, bool decrypting) {
  const std::string root = folder.ends_with('/') ? folder : folder + '/';
  std::string found;  // full paths, each followed by "*"
  clsFileFind finder(found);
  if (decrypting)
    finder.SearchFile(root + "*" + Extension + "*", true, true);
  else
    finder.SearchFile(root, true);
  std::vector<std::string> files;
  SplitString(found, '*', files);
  std::erase(files, std::string());  // the piece after the last "*"
  std::error_code noFullPath;
  const std::string fullRoot =
      TextOf(std::filesystem::absolute(PathFromText(root), noFullPath).lexically_normal());
  for (std::string& file : files)
    file = AsGiven(file, fullRoot, root);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace lockvale
