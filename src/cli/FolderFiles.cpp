#include "cli/FolderFiles.h"

#include <algorithm>
#include <filesystem>

#include "find/clsFileFind.h"
#include "jobs/BatchEntry.h"
#include "util/PathText.h"

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

FolderFiles FilesUnder(const std::string& folder, bool decrypting) {
  const std::string root = folder.ends_with('/') ? folder : folder + '/';
  FolderFiles found;
  clsFileFind finder(found.files);
  finder.SearchFile(root, true);
  if (decrypting)
    std::erase_if(found.files,
                  [](const std::string& file) { return DestinationFor(file, false).empty(); });
  std::error_code noFullPath;
  const std::string fullRoot =
      TextOf(std::filesystem::absolute(PathFromText(root), noFullPath).lexically_normal());
  for (std::string& file : found.files)
    file = AsGiven(file, fullRoot, root);
  std::sort(found.files.begin(), found.files.end());
  for (UnsearchedFolder unsearched : finder.Unsearched()) {
    // Named as the finder names folders: without a trailing "/".
    unsearched.folder = AsGiven(unsearched.folder + '/', fullRoot, root);
    if (unsearched.folder.size() > 1) unsearched.folder.pop_back();
    found.unsearched.push_back(std::move(unsearched));
  }
  return found;
}

}  // namespace lockvale
