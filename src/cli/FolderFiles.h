#pragma once

#include <string>
#include <vector>

#include "find/clsFileFind.h"

namespace lockvale {

// The files in the folder and all its subfolders, sorted, and the folders that could not be
// searched, all named under the folder as given.
struct FolderFiles {
  std::vector<std::string> files;
  std::vector<UnsearchedFolder> unsearched;
};

// When decrypting only the names that give a decrypted name (DestinationFor).
FolderFiles FilesUnder(const std::string& folder, bool decrypting);

}  // namespace lockvale
