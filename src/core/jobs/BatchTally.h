#pragma once

#include <cstddef>

namespace lockvale {

// What became of a batch run's rows: done, passed over (no source or destination, or one
// that must not be replaced), or failed and marked.
struct BatchTally {
  std::size_t done = 0;
  std::size_t skipped = 0;
  std::size_t failed = 0;
};

}  // namespace lockvale
