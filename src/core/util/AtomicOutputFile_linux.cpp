#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "util/AtomicOutputFile.h"
#include "util/PosixIo.h"

namespace lockvale {
namespace {

std::string FolderOf(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

std::string Beside(const std::string& folder, const std::string& name) {
  return (std::filesystem::path(folder) / name).string();
}

// The temporary names in use, where a signal handler can read them without a lock: an object
// claims a slot, and `ready` says whether its path may be read.
struct PendingName {
  std::atomic<const void*> owner{nullptr};
  std::atomic<bool> ready{false};
  char path[PATH_MAX];
};
static_assert(std::atomic<const void*>::is_always_lock_free &&
              std::atomic<bool>::is_always_lock_free);
std::array<PendingName, 16> g_PendingNames;

void ForgetPending(const void* owner) noexcept {
  for (PendingName& slot : g_PendingNames)
    if (slot.owner.load() == owner) {
      slot.ready.store(false);
      slot.owner.store(nullptr);
    }
}

// Noted before the file exists, so that no moment passes with the file there and unnoted. A
// path the system would refuse, or a full table, goes unnoted.
void NotePending(const void* owner, const std::string& path) noexcept {
  ForgetPending(owner);
  if (path.size() >= PATH_MAX) return;
  for (PendingName& slot : g_PendingNames) {
    const void* free = nullptr;
    if (!slot.owner.compare_exchange_strong(free, owner)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.ready.store(true);
    return;
  }
}

// Tests set LOCKVALE_TEST_NAMED_TEMPORARY to take the way of file systems without unnamed files
// (vfat, exFAT, some network file systems).
bool UnnamedFilesWanted() {
  return std::getenv("LOCKVALE_TEST_NAMED_TEMPORARY") == nullptr;
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
  if (UnnamedFilesWanted()) {
    m_Handle = ::open(m_Folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (m_Handle >= 0) return;
    if (!UnnamedFilesUnsupported(errno)) posix::ThrowErrno(errno, "Cannot create " + destination);
  }
  for (;;) {
    std::string candidate = Beside(m_Folder, TemporaryName());
    NotePending(this, candidate);
    m_Handle = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (m_Handle >= 0) {
      m_TempPath = candidate;
      return;
    }
    const int error = errno;
    ForgetPending(this);
    if (error != EEXIST) posix::ThrowErrno(error, "Cannot create " + destination);
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
      std::string candidate = Beside(m_Folder, TemporaryName());
      NotePending(this, candidate);
      if (::linkat(AT_FDCWD, handlePath.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) ==
          0) {
        m_TempPath = candidate;
        break;
      }
      const int error = errno;
      ForgetPending(this);
      if (error != EEXIST) posix::ThrowErrno(error, "Cannot create " + m_Destination);
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
  ForgetPending(this);
  SyncFolder(m_Folder);
}

void AtomicOutputFile::Discard() noexcept {
  if (m_Handle >= 0) ::close(m_Handle);
  m_Handle = -1;
  if (!m_TempPath.empty()) ::unlink(m_TempPath.c_str());
  m_TempPath.clear();
  ForgetPending(this);
}

void AtomicOutputFile::RemoveUncommitted() noexcept {
  for (PendingName& slot : g_PendingNames)
    if (slot.ready.load()) ::unlink(slot.path);
}

}  // namespace lockvale
