#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "util/OutputFile.h"
#include "util/PosixIo.h"

namespace lockvale {

OutputFile::OutputFile(const std::string& path) : m_Path(path) {
  m_Handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (m_Handle < 0) posix::ThrowErrno(errno, "Cannot create " + path);
}

OutputFile::~OutputFile() {
  if (m_Handle >= 0) ::close(m_Handle);
}

void OutputFile::Write(const std::uint8_t* data, std::size_t size) {
  posix::WriteAll(m_Handle, data, size, m_Path);
}

void OutputFile::Close() {
  if (m_Handle < 0) return;
  int handle = m_Handle;
  m_Handle = -1;
  posix::CloseChecked(handle, m_Path);
}

}  // namespace lockvale
