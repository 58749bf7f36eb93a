#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lockvale {

// Paths are UTF-8 text throughout the program; std::filesystem would take a plain string in
// the ANSI code page on Windows.
inline std::filesystem::path PathFromText(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// UTF-8, with "/" between the names on every system.
inline std::string TextOf(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace lockvale
