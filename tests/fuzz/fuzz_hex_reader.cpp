// Any text through the lenient hexadecimal reader: it must give exactly the bytes its
// digits spell, and those bytes must survive being shown and read again.

#include <charconv>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "jobs/HexText.h"

using namespace lockvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string digits;
  for (char c : text)
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) digits += c;
  std::vector<std::uint8_t> expected(digits.size() / 2);  // a last unpaired digit is dropped
  for (std::size_t i = 0; i < expected.size(); ++i)
    std::from_chars(&digits[2 * i], &digits[2 * i + 2], expected[i], 16);

  std::vector<std::uint8_t> read(7, 0xEE);  // replaced, never appended to
  FUZZ_CHECK(HexDisplayRev(text, read) == expected.size());
  FUZZ_CHECK(read == expected);

  const std::size_t n = read.size(), group = size % 19;
  const std::string shown = HexDisplay(read, group);
  FUZZ_CHECK(shown.find_first_not_of("0123456789ABCDEF ") == std::string::npos);
  FUZZ_CHECK(shown.size() == 2 * n + (n != 0 && group != 0 ? 2 * ((n - 1) / group) : 0));
  std::vector<std::uint8_t> again;
  FUZZ_CHECK(HexDisplayRev(shown, again) == n && again == read);
  return 0;
}
