#include <windows.h>

#include <charconv>
#include <string_view>

#include "util/CodePage.h"
#include "util/CodePageConversion.h"
#include "util/WindowsIo.h"

namespace lockvale {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct NamedPage {
  std::string_view name;
  UINT number;
};

// Names other systems give these pages (as in LOCKVALE_CODEPAGE there), folded.
constexpr NamedPage kNamedPages[] = {
    {"USASCII", 20127},   {"ASCII", 20127},    {"SHIFTJIS", 932},   {"SJIS", 932},
    {"GBK", 936},         {"GB2312", 936},     {"BIG5", 950},       {"EUCKR", 949},
    {"EUCJP", 20932},     {"KOI8R", 20866},    {"KOI8U", 21866},    {"ISO88591", 28591},
    {"ISO88592", 28592},  {"ISO88595", 28595}, {"ISO88597", 28597}, {"ISO88599", 28599},
    {"ISO885915", 28605}, {"LATIN1", 28591},
};

// "windows-1252", "CP932", "IBM437" or just "1252"; 0 when the name is none of these.
UINT NumberIn(const std::string& folded) {
  std::string_view digits = folded;
  for (std::string_view prefix : {"WINDOWS", "CP", "IBM"})
    if (digits.starts_with(prefix)) digits.remove_prefix(prefix.size());
  UINT number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  return error == std::errc() && end == digits.data() + digits.size() ? number : 0;
}

UINT PageNumber(const std::string& name) {
  const std::string folded = codepage::FoldedName(name);
  for (const NamedPage& page : kNamedPages)
    if (folded == page.name) return page.number;
  const UINT number = NumberIn(folded);
  if (number == 0 || !::IsValidCodePage(number)) codepage::ThrowUnknown(name);
  return number;
}

// UTF-16 of the text, each ill-formed part of its UTF-8 a counted '?'.
std::wstring WideWithMarks(std::span<const std::uint8_t> utf8, std::size_t& unheld) {
  std::wstring wide;
  wide.reserve(utf8.size());
  for (std::size_t position = 0; position < utf8.size();) {
    const codepage::Utf8Step step = codepage::NextUtf8Step(utf8.subspan(position));
    const char32_t point =
        step.wellFormed ? codepage::CodePointOf(utf8.subspan(position, step.length)) : U'?';
    unheld += !step.wellFormed;
    position += step.length;
    if (point < 0x10000) {
      wide += static_cast<wchar_t>(point);
    } else {
      wide += static_cast<wchar_t>(0xD800 + ((point - 0x10000) >> 10));
      wide += static_cast<wchar_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    }
  }
  return wide;
}

// The system's conversion, but without its "best fit" look-alikes (Ω as O): a character the code
// page cannot hold becomes '?' and is counted, and a key gives the same bytes on every system.
Bytes Narrow(UINT page, std::wstring_view wide, BOOL* defaulted) {
  const DWORD flags = page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
  Bytes bytes(static_cast<std::size_t>(length));
  // UTF-8 holds every character, and the call refuses the question for it.
  ::WideCharToMultiByte(page, flags, wide.data(), size, reinterpret_cast<char*>(bytes.data()),
                        length, nullptr, page == CP_UTF8 ? nullptr : defaulted);
  return bytes;
}

// Only where the whole text needed the default character is it counted character by character.
std::size_t CountDefaulted(UINT page, std::wstring_view wide) {
  std::size_t count = 0;
  for (std::size_t position = 0; position < wide.size();) {
    const bool pair =
        wide[position] >= 0xD800 && wide[position] < 0xDC00 && position + 1 < wide.size();
    BOOL defaulted = FALSE;
    Narrow(page, wide.substr(position, pair ? 2 : 1), &defaulted);
    count += defaulted != FALSE;
    position += pair ? 2 : 1;
  }
  return count;
}

}  // namespace

std::string CodePage::SystemName() {
  const UINT page = ::GetACP();
  if (page == CP_UTF8) return "UTF-8";
  if (page >= 1250 && page <= 1258) return "windows-" + std::to_string(page);
  return "CP" + std::to_string(page);
}

namespace codepage {

void CheckKnown(const std::string& codePage) {
  PageNumber(codePage);
}

std::vector<std::uint8_t> EncodeText(const std::string& codePage,
                                     std::span<const std::uint8_t> utf8, std::size_t& unheld) {
  const UINT page = PageNumber(codePage);
  const std::wstring wide = WideWithMarks(utf8, unheld);
  BOOL defaulted = FALSE;
  Bytes bytes = Narrow(page, wide, &defaulted);
  if (defaulted) unheld += CountDefaulted(page, wide);
  return bytes;
}

std::string DecodeText(const std::string& codePage, std::span<const std::uint8_t> bytes) {
  const UINT page = PageNumber(codePage);
  if (bytes.empty()) return {};
  const auto* in = reinterpret_cast<const char*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(page, 0, in, size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(page, 0, in, size, wide.data(), length);
  return windows::Utf8(wide);
}

}  // namespace codepage
}  // namespace lockvale
