#pragma once

#include <cstdint>
#include <string>

#include "util/ByteStream.h"

namespace lockvale {

// Writes a file that appears under its real name only when it is complete:
// the data goes to a temporary file in the destination's folder, which
// Commit() flushes and renames into place. Without a commit nothing is left
// behind, and an existing destination stays untouched until the rename.
class AtomicOutputFile : public ByteSink {
 public:
  // Removes the named temporary files of all objects not yet committed. Async-signal-safe: for
  // the handler of a signal that ends the process.
  static void RemoveUncommitted() noexcept;

  // The file gets `permissionBits` less the umask, as a new file or a copy does.
  AtomicOutputFile(const std::string& destination, std::uint32_t permissionBits);
  ~AtomicOutputFile() override;
  AtomicOutputFile(const AtomicOutputFile&) = delete;
  AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

  void Write(const std::uint8_t* data, std::size_t size) override;
  // replaceExisting false: fails with EEXIST, rather than replace, when the
  // destination appeared meanwhile. A failed commit discards the data.
  void Commit(bool replaceExisting);

 private:
  void Publish(bool replaceExisting);
  void Discard() noexcept;
  // ".lv-" and 12 random letters and digits: short, so that any destination name fits.
  static std::string TemporaryName();

  std::string m_Destination;
  std::string m_Folder;
  std::string m_TempPath;       // empty while the data is an unnamed file
  std::intptr_t m_Handle = -1;  // a descriptor, or a Windows HANDLE
  bool m_Committed = false;
};

}  // namespace lockvale
