#pragma once

#include <string>
#include <string_view>

#include "util/SecretText.h"

namespace lockvale {

// The key text, from the first source there is: the key file when one is named, else the
// environment variable LOCKVALE_KEY, else the terminal, where it is asked twice when
// `askTwice` and the two must match. Throws UsageError when there is no source, the key file
// cannot be read, or the two typed keys differ.
SecretText ObtainKeyText(const std::string& keyFile, bool askTwice);

// The key file's first line, without its line break or a UTF-8 byte-order mark. A file that
// others may read is used, with a warning on standard error.
SecretText ReadKeyFile(const std::string& path);

// For encrypting: throws UsageError when the key or text (`what`) holds characters that the code
// page in force cannot hold.
void RefuseUnheldCharacters(const std::string& what, std::string_view text);

}  // namespace lockvale
