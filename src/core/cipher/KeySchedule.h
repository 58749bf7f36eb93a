#pragma once

#include <array>
#include <cstdint>

namespace lockvale {

// Round keys of the installed key: `fkey` for encryption, `rkey` for the
// equivalent inverse cipher (reversed, with the inverse column mixing applied).
// Round key r is words 4r to 4r+3; in memory on a little-endian machine those
// are exactly the sixteen key bytes of the standard, which the hardware path loads directly.
struct KeySchedule {
  alignas(64) std::array<std::uint32_t, 60> fkey{};
  alignas(64) std::array<std::uint32_t, 60> rkey{};
  int Nr = 0;
};

}  // namespace lockvale
