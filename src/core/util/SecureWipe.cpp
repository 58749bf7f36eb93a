#include "util/SecureWipe.h"

#include <cstring>

namespace lockvale {

void SecureWipe(void* data, std::size_t size) {
  if (size == 0) return;
  std::memset(data, 0, size);
  // The barrier tells the compiler the zeroed memory is observed, so the
  // memset cannot be dropped as a dead store.
  asm volatile("" : : "r"(data) : "memory");
}

}  // namespace lockvale
