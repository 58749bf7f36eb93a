#pragma once

#include <cstdint>
#include <string>

namespace lockvale {

// How far a transfer has got, as both the command line and the window show it.
struct TransferPace {
  double bytesPerSecond;  // 0 while nothing is known
  double secondsLeft;     // infinite while nothing is known
};
TransferPace PaceOf(std::uint64_t done, std::uint64_t total, double seconds);

// "m:ss", or "h:mm:ss" from an hour on; "-:--" while nothing is known.
std::string FormatDuration(double seconds);
// "%6.1f MB/s", or dashes while nothing is known.
std::string FormatSpeed(double bytesPerSecond);
// "512 bytes", "1.5 KB", "12.3 MB", "4.3 GB": decimal units, as the speed has.
std::string FormatBytes(std::uint64_t bytes);
// "12.3 MB of 45.6 MB  850.3 MB/s  0:04 left", for the window's status bar.
std::string LiveFigures(std::uint64_t done, std::uint64_t total, double seconds);

}  // namespace lockvale
