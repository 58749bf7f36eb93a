#pragma once

#include <string>

#include "util/SecretText.h"

namespace lockvale {

// The key text, from the first source there is: the key file when one is named, else the
// environment variable LOCKVALE_KEY, else the terminal, where it is asked twice when
// `askTwice` and the two must match. Throws UsageError when there is no source, the key file
// cannot be read, or the two typed keys differ.
SecretText ObtainKeyText(const std::string& keyFile, bool askTwice);

// The key file's first line, without its line break.
SecretText ReadKeyFile(const std::string& path);

}  // namespace lockvale
