#include "jobs/FileHelpers.h"

#include <sys/stat.h>
#include <unistd.h>

namespace lockvale {

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void RidFile(const std::string& path) {
  if (FileExists(path)) ::unlink(path.c_str());
}

}  // namespace lockvale
