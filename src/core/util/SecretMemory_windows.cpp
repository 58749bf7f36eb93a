#include <windows.h>

#include <new>

#include "util/SecretMemory.h"
#include "util/SecureWipe.h"

namespace lockvale {

// Windows has no switch for a process's own dumps; this keeps the error reporting dialog, and
// the report it offers to send, from coming after a crash. Dumps an administrator set up stay.
void DisableCoreDumps() noexcept {
  ::SetErrorMode(::GetErrorMode() | SEM_NOGPFAULTERRORBOX);
}

void* AllocateSecretPages(std::size_t size) {
  void* pages = ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (pages == nullptr) throw std::bad_alloc();
  ::VirtualLock(pages, size);
  return pages;
}

void FreeSecretPages(void* pages, std::size_t size) noexcept {
  SecureWipe(pages, size);
  ::VirtualUnlock(pages, size);
  ::VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace lockvale
