#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "util/DirectoryReader.h"

namespace lockvale {

namespace {

// The folder's own descriptor stays open for reaching its subfolders; the listing has a copy
// of it, closed with the listing.
struct Folder {
  int descriptor = -1;
  DIR* listing = nullptr;
};

Folder& Of(void* handle) {
  return *static_cast<Folder*>(handle);
}

std::string LastName(std::string_view path) {
  while (path.size() > 1 && path.back() == '/')
    path.remove_suffix(1);
  return std::string(path.substr(path.rfind('/') + 1));
}

std::string Reason(int error) {
  return std::generic_category().message(error);
}

}  // namespace

DirectoryReader::DirectoryReader(const std::string& folder, const DirectoryReader* parent) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  const int descriptor =
      parent != nullptr && parent->IsOpen()
          ? ::openat(Of(parent->m_Handle).descriptor, LastName(folder).c_str(), kFlags | O_NOFOLLOW)
          : ::open(folder.c_str(), kFlags);
  const int copy = descriptor < 0 ? -1 : ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  DIR* listing = copy < 0 ? nullptr : ::fdopendir(copy);
  if (listing == nullptr) {
    m_Failure = Reason(errno);
    if (copy >= 0) ::close(copy);
    if (descriptor >= 0) ::close(descriptor);
    return;
  }
  m_Handle = new Folder{descriptor, listing};
}

DirectoryReader::~DirectoryReader() {
  if (m_Handle == nullptr) return;
  EndListing();
  ::close(Of(m_Handle).descriptor);
  delete &Of(m_Handle);
}

bool DirectoryReader::Next(std::string_view& name) {
  if (m_Handle == nullptr || Of(m_Handle).listing == nullptr) return false;
  errno = 0;  // readdir tells the end from an error only by errno
  while (const dirent* entry = ::readdir(Of(m_Handle).listing)) {
    name = entry->d_name;
    if (name == "." || name == "..") continue;
    m_Entry = entry;
    return true;
  }
  if (errno != 0) m_Failure = Reason(errno);
  return false;
}

void DirectoryReader::EndListing() {
  if (m_Handle == nullptr || Of(m_Handle).listing == nullptr) return;
  ::closedir(Of(m_Handle).listing);
  Of(m_Handle).listing = nullptr;
}

// d_type spares a stat per entry; only links and file systems without it need one.
DirectoryReader::Kind DirectoryReader::EntryKind() const {
  const auto& entry = *static_cast<const dirent*>(m_Entry);
  const int folder = Of(m_Handle).descriptor;
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
