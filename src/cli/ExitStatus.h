#pragma once

namespace lockvale {

// The exit statuses of lockvale-cli.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFileFailed = 1;  // reading, writing, the checks, a source kept
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotDecrypted = 3;  // every failure was data that did not decrypt

}  // namespace lockvale
