#pragma once

#include <cstddef>

namespace lockvale {

// No core dump of this process from here on, nor (on Linux) another process of the same user
// reading its memory: what it holds may be keys and texts.
void DisableCoreDumps() noexcept;

// Pages of their own for `size` bytes of a secret, zeroed, kept out of swap where the system
// allows it (a refused lock, as under a low RLIMIT_MEMLOCK, leaves them unlocked) and out of core
// dumps. Throws std::bad_alloc.
void* AllocateSecretPages(std::size_t size);
// Wipes the secret and gives its pages back.
void FreeSecretPages(void* pages, std::size_t size) noexcept;

}  // namespace lockvale
