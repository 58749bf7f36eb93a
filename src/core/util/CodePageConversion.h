#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What CodePage shares between its platform conversions (CodePage.cpp) and what each
// platform provides (CodePage_posix.cpp, CodePage_windows.cpp). UTF-8 itself never
// reaches the platform part.
namespace lockvale::codepage {

// The well-formed UTF-8 character at the start of `bytes`, or else its maximal
// ill-formed part (at least one byte), which is replaced as a whole.
struct Utf8Step {
  std::size_t length;
  bool wellFormed;
};
Utf8Step NextUtf8Step(std::span<const std::uint8_t> bytes);
char32_t CodePointOf(std::span<const std::uint8_t> wellFormed);

// `out` holds `used` bytes of output and grows whenever that is about to overflow it.
template <typename Buffer>
void AppendAt(Buffer& out, std::size_t& used, std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  if (out.size() - used < bytes.size()) out.resize(std::max(out.size() * 2, used + bytes.size()));
  std::memcpy(out.data() + used, bytes.data(), bytes.size());
  used += bytes.size();
}

// Upper case, without "-", "_" or blanks: "utf_8" and "UTF-8" are one name.
std::string FoldedName(std::string_view name);

[[noreturn]] void ThrowUnknown(const std::string& codePage);

// Throws RaisedError 1 (through ThrowUnknown) when the platform does not know the name.
void CheckKnown(const std::string& codePage);
std::vector<std::uint8_t> EncodeText(const std::string& codePage,
                                     std::span<const std::uint8_t> utf8, std::size_t& unheld);
std::string DecodeText(const std::string& codePage, std::span<const std::uint8_t> bytes);

}  // namespace lockvale::codepage
