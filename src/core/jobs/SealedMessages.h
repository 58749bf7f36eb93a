#pragma once

#include <string>

#include "format/SealedFormat.h"

namespace lockvale {

// What the user is told of a sealed file refused; empty for Ok, NotSealed (the file is read as
// the other form) and Cancelled, which need no text of their own.
std::string SealedRefusalText(const SealedResult& result);

}  // namespace lockvale
