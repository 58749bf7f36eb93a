#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "util/AtomicOutputFile.h"
#include "util/PosixIo.h"

namespace lockvale {
namespace {

std::string FolderOf(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

// A name beside the destination that no one else uses: hidden, and marked as ours.
std::string TempNameFor(const std::string& destination) {
  static std::mt19937_64 generator{std::random_device{}()};
  std::filesystem::path dest(destination);
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, ".%012llx.tmp",
                static_cast<unsigned long long>(generator() & 0xFFFFFFFFFFFFULL));
  std::string name(1, '.');
  name.append(dest.filename().string()).append(suffix);
  return (dest.parent_path() / name).string();
}

bool UnnamedFilesUnsupported(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

void SyncFolder(const std::string& folder) {
  int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;
  ::fsync(handle);  // best effort: the file itself is already safe
  ::close(handle);
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(const std::string& destination, std::uint32_t permissionBits)
    : m_Destination(destination), m_Folder(FolderOf(destination)) {
  const mode_t mode = permissionBits & 0777;
  // An unnamed file vanishes by itself if the process dies before the commit.
  m_Handle = ::open(m_Folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (m_Handle >= 0) return;
  if (!UnnamedFilesUnsupported(errno)) posix::ThrowErrno(errno, "Cannot create " + destination);
  for (;;) {
    std::string candidate = TempNameFor(destination);
    m_Handle = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (m_Handle >= 0) {
      m_TempPath = candidate;
      return;
    }
    if (errno != EEXIST) posix::ThrowErrno(errno, "Cannot create " + destination);
  }
}

void AtomicOutputFile::Write(const std::uint8_t* data, std::size_t size) {
  posix::WriteAll(m_Handle, data, size, m_Destination);
}

void AtomicOutputFile::Publish(bool replaceExisting) {
  if (::fdatasync(m_Handle) != 0) posix::ThrowErrno(errno, "Cannot write " + m_Destination);
  if (m_TempPath.empty()) {
    std::string handlePath = "/proc/self/fd/" + std::to_string(m_Handle);
    for (;;) {
      std::string candidate = TempNameFor(m_Destination);
      if (::linkat(AT_FDCWD, handlePath.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) ==
          0) {
        m_TempPath = candidate;
        break;
      }
      if (errno != EEXIST) posix::ThrowErrno(errno, "Cannot create " + m_Destination);
    }
  }
  int handle = m_Handle;
  m_Handle = -1;
  posix::CloseChecked(handle, m_Destination);

  int status = replaceExisting ? ::rename(m_TempPath.c_str(), m_Destination.c_str())
                               : ::renameat2(AT_FDCWD, m_TempPath.c_str(), AT_FDCWD,
                                             m_Destination.c_str(), RENAME_NOREPLACE);
  if (status != 0 && !replaceExisting && (errno == EINVAL || errno == ENOSYS)) {
    // File systems without RENAME_NOREPLACE: link() refuses an existing name too.
    status = ::link(m_TempPath.c_str(), m_Destination.c_str());
    if (status == 0) ::unlink(m_TempPath.c_str());
  }
  if (status != 0) posix::ThrowErrno(errno, "Cannot create " + m_Destination);
  m_TempPath.clear();
  SyncFolder(m_Folder);
}

void AtomicOutputFile::Discard() noexcept {
  if (m_Handle >= 0) ::close(m_Handle);
  m_Handle = -1;
  if (!m_TempPath.empty()) ::unlink(m_TempPath.c_str());
  m_TempPath.clear();
}

}  // namespace lockvale
