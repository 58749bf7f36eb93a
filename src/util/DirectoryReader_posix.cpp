#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "util/DirectoryReader.h"

namespace lockvale {

namespace {

DIR* Dir(void* handle) {
  return static_cast<DIR*>(handle);
}

}  // namespace

DirectoryReader::DirectoryReader(const std::string& folder) : m_Handle(::opendir(folder.c_str())) {}

DirectoryReader::~DirectoryReader() {
  if (m_Handle != nullptr) ::closedir(Dir(m_Handle));
}

bool DirectoryReader::Next(std::string_view& name) {
  if (m_Handle == nullptr) return false;
  while (const dirent* entry = ::readdir(Dir(m_Handle))) {
    name = entry->d_name;
    if (name == "." || name == "..") continue;
    m_Entry = entry;
    return true;
  }
  return false;
}

// d_type spares a stat per entry; only links and file systems without it need one.
DirectoryReader::Kind DirectoryReader::EntryKind() const {
  const auto& entry = *static_cast<const dirent*>(m_Entry);
  const int folder = ::dirfd(Dir(m_Handle));
  unsigned char type = entry.d_type;
  struct stat info {};
  if (type == DT_UNKNOWN && ::fstatat(folder, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0)
    type = IFTODT(info.st_mode);
  if (type == DT_DIR) return Kind::Folder;
  if (type == DT_REG) return Kind::File;
  if (type == DT_LNK && ::fstatat(folder, entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode))
    return Kind::File;
  return Kind::Other;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace lockvale
