#pragma once

#include <string>
#include <vector>

namespace lockvale {

// The files in the folder and all its subfolders, named under the folder as given, sorted.
// When decrypting only names containing ".encr", in this case, as decrypted names are cut there.
std::vector<std::string> FilesUnder(const std::string& folder, bool decrypting);

}  // namespace lockvale
