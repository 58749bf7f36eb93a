#include "util/CodePage.h"

#include <cctype>
#include <cstdlib>
#include <utility>

#include "util/CodePageConversion.h"
#include "util/RaisedError.h"

namespace lockvale {
namespace codepage {

Utf8Step NextUtf8Step(std::span<const std::uint8_t> bytes) {
  const std::uint8_t lead = bytes[0];
  if (lead < 0x80) return {1, true};
  std::size_t length = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return {1, false};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= bytes.size() || bytes[i] < low || bytes[i] > high) return {i, false};
    low = 0x80;
    high = 0xBF;
  }
  return {length, true};
}

char32_t CodePointOf(std::span<const std::uint8_t> wellFormed) {
  constexpr std::uint8_t leadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  std::uint32_t value = wellFormed[0] & leadBits[wellFormed.size()];
  for (std::uint8_t continuation : wellFormed.subspan(1))
    value = value << 6 | (continuation & 0x3F);
  return value;
}

std::string FoldedName(std::string_view name) {
  std::string folded;
  for (char character : name)
    if (character != '-' && character != '_' && character != ' ')
      folded += static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
  return folded;
}

void ThrowUnknown(const std::string& codePage) {
  throw RaisedError(1, "CodePage.Open - Unknown code page " + codePage);
}

}  // namespace codepage

namespace {

using Bytes = std::vector<std::uint8_t>;
using codepage::AppendAt;
using codepage::NextUtf8Step;
using codepage::Utf8Step;

constexpr std::uint8_t QuestionMark[] = {'?'};
constexpr std::uint8_t ReplacementCharacter[] = {0xEF, 0xBF, 0xBD};

bool IsUtf8Name(const std::string& name) {
  return codepage::FoldedName(name) == "UTF8";
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::size_t SkipAscii(std::span<const std::uint8_t> bytes, std::size_t position) {
  constexpr std::uint64_t highBits = 0x8080808080808080;
  for (std::uint64_t word = 0; bytes.size() - position >= 8; position += 8) {
    std::memcpy(&word, bytes.data() + position, 8);
    if (word & highBits) break;
  }
  while (position < bytes.size() && bytes[position] < 0x80)
    ++position;
  return position;
}

template <typename Buffer>
Buffer CopyUtf8Replacing(std::span<const std::uint8_t> utf8,
                         std::span<const std::uint8_t> replacement, std::size_t& replaced) {
  Buffer out;
  out.resize(utf8.size());
  std::size_t used = 0, runStart = 0, position = 0;
  while ((position = SkipAscii(utf8, position)) < utf8.size()) {
    const Utf8Step step = NextUtf8Step(utf8.subspan(position));
    if (!step.wellFormed) {
      AppendAt(out, used, utf8.subspan(runStart, position - runStart));
      AppendAt(out, used, replacement);
      ++replaced;
      runStart = position + step.length;
    }
    position += step.length;
  }
  AppendAt(out, used, utf8.subspan(runStart));
  out.resize(used);
  return out;
}

// Set only from the window's one thread.
std::string chosenName;

bool Known(const std::string& name) {
  try {
    CodePage{name};
    return true;
  } catch (const RaisedError&) {
    return false;
  }
}

}  // namespace

CodePage CodePage::ForThisSystem() {
  return CodePage(NameInForce());
}

std::string CodePage::NameInForce() {
  if (SetByEnvironment()) return std::getenv("LOCKVALE_CODEPAGE");
  return chosenName.empty() ? SystemName() : chosenName;
}

void CodePage::Choose(std::string name) {
  chosenName = std::move(name);
}

const std::string& CodePage::Chosen() {
  return chosenName;
}

bool CodePage::SetByEnvironment() {
  const char* name = std::getenv("LOCKVALE_CODEPAGE");
  return name != nullptr && *name != '\0';
}

const std::vector<std::string>& CodePage::WindowsCodePages() {
  static const std::vector<std::string> known = [] {
    std::vector<std::string> names;
    for (const char* name : {"windows-1252", "windows-1250", "windows-1251", "windows-1253",
                             "windows-1254", "windows-1255", "windows-1256", "windows-1257",
                             "windows-1258", "windows-874", "CP932", "CP936", "CP949", "CP950"})
      if (Known(name)) names.emplace_back(name);
    return names;
  }();
  return known;
}

CodePage::CodePage(std::string name) : m_Name(std::move(name)), m_IsUtf8(IsUtf8Name(m_Name)) {
  if (m_IsUtf8) return;
  if (m_Name.empty()) codepage::ThrowUnknown(m_Name);
  codepage::CheckKnown(m_Name);
}

std::vector<std::uint8_t> CodePage::Encode(std::string_view utf8, std::size_t* unheld) const {
  std::size_t marked = 0;
  Bytes out = m_IsUtf8 ? CopyUtf8Replacing<Bytes>(AsBytes(utf8), QuestionMark, marked)
                       : codepage::EncodeText(m_Name, AsBytes(utf8), marked);
  if (unheld != nullptr) *unheld = marked;
  return out;
}

std::string CodePage::Decode(std::span<const std::uint8_t> bytes) const {
  std::size_t replaced = 0;
  if (m_IsUtf8) return CopyUtf8Replacing<std::string>(bytes, ReplacementCharacter, replaced);
  return codepage::DecodeText(m_Name, bytes);
}

}  // namespace lockvale
