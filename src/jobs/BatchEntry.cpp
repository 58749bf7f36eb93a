#include "jobs/BatchEntry.h"

#include "util/StringHelpers.h"

namespace lockvale {

std::string DestinationFor(const std::string& source, bool encrypting) {
  if (encrypting) return source + ".encr";
  const std::size_t at = RInStr(source, ".encr");
  return at == 1 ? std::string() : source.substr(0, at - 1);
}

}  // namespace lockvale
