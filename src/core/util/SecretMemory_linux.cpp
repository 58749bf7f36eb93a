#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>

#include <new>

#include "util/SecretMemory.h"
#include "util/SecureWipe.h"

namespace lockvale {

void DisableCoreDumps() noexcept {
  const rlimit none{0, 0};
  ::setrlimit(RLIMIT_CORE, &none);
  ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

void* AllocateSecretPages(std::size_t size) {
  void* pages = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED) throw std::bad_alloc();
  ::mlock(pages, size);
  ::madvise(pages, size, MADV_DONTDUMP);
  return pages;
}

void FreeSecretPages(void* pages, std::size_t size) noexcept {
  SecureWipe(pages, size);
  ::munlock(pages, size);
  ::munmap(pages, size);
}

}  // namespace lockvale
