// The freedesktop.org trash: the home trash for files on its file system, else a trash at the
// top of the file's own, so that moving never copies.
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "util/PosixIo.h"
#include "util/Trash.h"

namespace lockvale {
namespace {

using std::filesystem::path;

[[noreturn]] void Fail(int error) {
  throw std::system_error(error, std::generic_category());
}

struct stat StatusOf(const std::string& name) {
  struct stat info {};
  if (::lstat(name.c_str(), &info) != 0) Fail(errno);
  return info;
}

// Empty when there is no home to hold it.
std::string HomeTrash() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') return std::string(dataHome) + "/Trash";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = ::getpwuid(::getuid());
    home = user != nullptr ? user->pw_dir : nullptr;
  }
  return home != nullptr && home[0] == '/' ? std::string(home) + "/.local/share/Trash" : "";
}

// The device of the folder, or of its nearest ancestor while it does not exist yet.
dev_t DeviceOf(path folder) {
  struct stat info {};
  while (::stat(folder.c_str(), &info) != 0 && folder.has_relative_path())
    folder = folder.parent_path();
  return info.st_dev;
}

void MakeFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) Fail(errno);
}

// A trash of the user's own under a shared top directory must be a folder, not a link, and
// theirs; 0 when it is (made now if need be), else the error.
int OwnFolderError(const std::string& folder) {
  struct stat info {};
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  if (::lstat(folder.c_str(), &info) != 0) return errno;
  return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() ? 0 : EACCES;
}

// The mount point of the file system that holds `folder`: its highest ancestor on that device.
path TopDirectory(path folder, dev_t device) {
  struct stat info {};
  while (folder.has_relative_path() && ::stat(folder.parent_path().c_str(), &info) == 0 &&
         info.st_dev == device)
    folder = folder.parent_path();
  return folder;
}

// $topdir/.Trash/$uid when the administrator made .Trash a sticky folder, else $topdir/.Trash-$uid.
std::string TopTrash(const path& top) {
  const std::string uid = std::to_string(::getuid());
  struct stat shared {};
  if (::lstat((top / ".Trash").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) &&
      (shared.st_mode & S_ISVTX) != 0 && OwnFolderError(top / ".Trash" / uid) == 0)
    return top / ".Trash" / uid;
  if (const int error = OwnFolderError(top / (".Trash-" + uid))) Fail(error);
  return top / (".Trash-" + uid);
}

std::string PercentEncoded(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const unsigned char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

std::string TrashInfo(const std::string& original) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  return "[Trash Info]\nPath=" + PercentEncoded(original) + "\nDeletionDate=" + date + "\n";
}

// Claims a name in the trash by creating its info file first; the name, NAME or NAME.2 and on.
std::string ClaimName(const std::string& trash, const std::string& name, const std::string& info) {
  for (int n = 1;; ++n) {
    const std::string claimed = n == 1 ? name : name + "." + std::to_string(n);
    const std::string infoPath = trash + "/info/" + claimed + ".trashinfo";
    const int handle = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (handle < 0 && errno != EEXIST) Fail(errno);
    if (handle < 0) continue;
    struct stat taken {};
    const bool unused = ::lstat((trash + "/files/" + claimed).c_str(), &taken) != 0;
    try {
      if (unused)
        posix::WriteAll(handle, reinterpret_cast<const std::uint8_t*>(info.data()), info.size(),
                        infoPath);
      posix::CloseChecked(handle, infoPath);
    } catch (...) {
      ::unlink(infoPath.c_str());
      throw;
    }
    if (unused) return claimed;
    ::unlink(infoPath.c_str());  // a file left without its info keeps its name
  }
}

void MoveInto(const std::string& trash, const path& file, const std::string& original) {
  const std::string name = ClaimName(trash, file.filename().string(), TrashInfo(original));
  const std::string target = trash + "/files/" + name;
  int moved = ::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
  if (moved != 0 && errno == EINVAL) moved = ::rename(file.c_str(), target.c_str());
  if (moved == 0) return;
  const int error = errno;
  ::unlink((trash + "/info/" + name + ".trashinfo").c_str());
  Fail(error);
}

struct TrashPlace {
  std::string trash;
  std::string original;  // the path its info keeps
};

// The trash on the file's own file system, made if need be.
TrashPlace TrashFor(const path& folder, const path& file) {
  const dev_t device = StatusOf(file).st_dev;
  const std::string home = HomeTrash();
  if (!home.empty() && DeviceOf(home) == device) {
    std::filesystem::create_directories(path(home).parent_path());
    for (const char* part : {"", "/files", "/info"})
      MakeFolder(home + part);
    return {home, file.string()};
  }
  const path top = TopDirectory(folder, device);
  const std::string trash = TopTrash(top);
  for (const char* part : {"/files", "/info"})
    MakeFolder(trash + part);
  // Relative to the top, as the file system may be mounted elsewhere next time.
  return {trash, file.lexically_relative(top).string()};
}

}  // namespace

std::optional<std::string> MoveToTrash(const std::string& name) {
  try {
    const path given(name);
    const path folder =
        std::filesystem::canonical(given.parent_path().empty() ? path(".") : given.parent_path());
    const path file = folder / given.filename();
    const TrashPlace place = TrashFor(folder, file);
    MoveInto(place.trash, file, place.original);
    return std::nullopt;
  } catch (const std::system_error& error) {
    return "cannot move it to the trash: " + error.code().message();
  }
}

}  // namespace lockvale
