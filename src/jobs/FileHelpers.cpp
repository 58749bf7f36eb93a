#include "jobs/FileHelpers.h"

#include <sys/stat.h>

namespace lockvale {

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace lockvale
