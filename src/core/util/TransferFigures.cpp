#include "util/TransferFigures.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <limits>

namespace lockvale {

TransferPace PaceOf(std::uint64_t done, std::uint64_t total, double seconds) {
  const double bytesPerSecond = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  const double left = bytesPerSecond > 0
                          ? static_cast<double>(total - std::min(done, total)) / bytesPerSecond
                          : std::numeric_limits<double>::infinity();
  return {bytesPerSecond, left};
}

std::string FormatDuration(double seconds) {
  if (!std::isfinite(seconds)) return "-:--";
  const auto whole = static_cast<unsigned long long>(std::ceil(seconds));
  char text[32];
  if (whole >= 3600)
    std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", whole / 3600, whole / 60 % 60,
                  whole % 60);
  else
    std::snprintf(text, sizeof text, "%llu:%02llu", whole / 60, whole % 60);
  return text;
}

std::string FormatSpeed(double bytesPerSecond) {
  if (bytesPerSecond <= 0) return "    -- MB/s";
  char text[32];
  std::snprintf(text, sizeof text, "%6.1f MB/s", bytesPerSecond / 1e6);
  return text;
}

std::string FormatBytes(std::uint64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + " bytes";
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
  double value = static_cast<double>(bytes) / 1000;
  std::size_t unit = 0;
  // 999.95 would print as 1000.0 of this unit.
  for (; value >= 999.95 && unit + 1 < std::size(kUnits); ++unit)
    value /= 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  return text;
}

std::string LiveFigures(std::uint64_t done, std::uint64_t total, double seconds) {
  const TransferPace pace = PaceOf(done, total, seconds);
  std::string speed = FormatSpeed(pace.bytesPerSecond);
  speed.erase(0, speed.find_first_not_of(' '));
  return FormatBytes(done) + " of " + FormatBytes(total) + "  " + speed + "  " +
         FormatDuration(pace.secondsLeft) + " left";
}

}  // namespace lockvale
