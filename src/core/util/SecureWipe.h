#pragma once

#include <cstddef>

namespace lockvale {

// Overwrites memory with zeros in a way the optimiser may not remove.
void SecureWipe(void* data, std::size_t size);

}  // namespace lockvale
