#include "util/CodePage.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "util/RaisedError.h"

namespace lockvale {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char Utf8Name[] = "UTF-8";
// Text goes to iconv as wide characters, not as UTF-8: glibc converts from its
// wide form in one step, whereas a character the code page cannot hold in a
// two-step UTF-8 conversion costs a rescan of the whole intermediate buffer.
static_assert(sizeof(wchar_t) == 4, "glibc's wide characters are UCS-4");
constexpr char WideName[] = "WCHAR_T";
constexpr std::size_t WideChunk = 1 << 16;
constexpr std::uint8_t QuestionMark[] = {'?'};
constexpr std::uint8_t ReplacementCharacter[] = {0xEF, 0xBF, 0xBD};
// More than any one character needs in any code page, so iconv never stalls on room.
constexpr std::size_t MinimumRoom = 64;

[[noreturn]] void ThrowUnknown(const std::string& codePage) {
  throw RaisedError(1, "CodePage.Open - Unknown code page " + codePage);
}

// An iconv conversion descriptor, closed when the object goes away.
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from, const std::string& codePage)
      : m_Handle(::iconv_open(to, from)) {
    if (m_Handle == reinterpret_cast<iconv_t>(-1)) ThrowUnknown(codePage);
  }
  ~IconvHandle() { ::iconv_close(m_Handle); }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;

  iconv_t Get() const { return m_Handle; }

 private:
  iconv_t m_Handle;
};

bool IsUtf8Name(const std::string& name) {
  std::string folded;
  for (char character : name)
    if (character != '-' && character != '_')
      folded += static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
  return folded == "UTF8";
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The well-formed UTF-8 character at the start of `bytes`, or else its maximal
// ill-formed part (at least one byte), which is replaced as a whole.
struct Utf8Step {
  std::size_t length;
  bool wellFormed;
};

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

// `out` holds `used` bytes of output and grows whenever that is about to overflow it.
template <typename Buffer>
void AppendAt(Buffer& out, std::size_t& used, std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  if (out.size() - used < bytes.size()) out.resize(std::max(out.size() * 2, used + bytes.size()));
  std::memcpy(out.data() + used, bytes.data(), bytes.size());
  used += bytes.size();
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

// Runs iconv until the input ends (0) or it stops at something it cannot convert
// (the errno). A null `in` flushes the shift state of a stateful code page.
template <typename Buffer>
int ConvertRun(iconv_t handle, char*& in, std::size_t& inLeft, Buffer& out, std::size_t& used) {
  for (;;) {
    if (out.size() - used < MinimumRoom) out.resize(out.size() * 2 + MinimumRoom);
    char* outPosition = reinterpret_cast<char*>(out.data()) + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t result = ::iconv(handle, &in, &inLeft, &outPosition, &outLeft);
    const int error = errno;
    used = out.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) return 0;
    if (error != E2BIG) return error;
  }
}

template <typename Buffer>
void Flush(iconv_t handle, Buffer& out, std::size_t& used) {
  char* none = nullptr;
  std::size_t nothing = 0;
  ConvertRun(handle, none, nothing, out, used);
  out.resize(used);
}

wchar_t CodePointOf(std::span<const std::uint8_t> wellFormed) {
  constexpr std::uint8_t leadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  std::uint32_t value = wellFormed[0] & leadBits[wellFormed.size()];
  for (std::uint8_t continuation : wellFormed.subspan(1))
    value = value << 6 | (continuation & 0x3F);
  return static_cast<wchar_t>(value);
}

// Decodes up to WideChunk characters from `position` on, each ill-formed part
// becoming a counted '?'; returns where it stopped.
std::size_t DecodeUtf8Chunk(std::span<const std::uint8_t> utf8, std::size_t position,
                            std::vector<wchar_t>& wide, std::size_t& unheld) {
  wide.clear();
  while (position < utf8.size() && wide.size() < WideChunk) {
    const Utf8Step step = NextUtf8Step(utf8.subspan(position));
    wide.push_back(step.wellFormed ? CodePointOf(utf8.subspan(position, step.length)) : L'?');
    unheld += !step.wellFormed;
    position += step.length;
  }
  return position;
}

// '?' as the code page writes it; not every code page has it at 0x3F.
void AppendQuestionMark(iconv_t handle, Bytes& out, std::size_t& used) {
  wchar_t mark = L'?';
  char* in = reinterpret_cast<char*>(&mark);
  std::size_t inLeft = sizeof mark;
  if (ConvertRun(handle, in, inLeft, out, used) != 0) AppendAt(out, used, QuestionMark);
}

void EncodeWide(iconv_t handle, std::vector<wchar_t>& wide, Bytes& out, std::size_t& used,
                std::size_t& unheld) {
  char* in = reinterpret_cast<char*>(wide.data());
  std::size_t inLeft = wide.size() * sizeof(wchar_t);
  while (inLeft > 0 && ConvertRun(handle, in, inLeft, out, used) != 0) {
    in += sizeof(wchar_t);
    inLeft -= sizeof(wchar_t);
    AppendQuestionMark(handle, out, used);
    ++unheld;
  }
}

Bytes EncodeWithIconv(iconv_t handle, std::span<const std::uint8_t> utf8, std::size_t& unheld) {
  Bytes out(utf8.size() + MinimumRoom);
  std::size_t used = 0;
  std::vector<wchar_t> wide;
  wide.reserve(std::min(utf8.size(), WideChunk));
  for (std::size_t position = 0; position < utf8.size();) {
    position = DecodeUtf8Chunk(utf8, position, wide, unheld);
    EncodeWide(handle, wide, out, used, unheld);
  }
  Flush(handle, out, used);
  return out;
}

std::string DecodeWithIconv(iconv_t handle, std::span<const std::uint8_t> bytes) {
  std::string out(bytes.size() + MinimumRoom, '\0');
  std::size_t used = 0;
  char* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(bytes.data()));
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    const int error = ConvertRun(handle, in, inLeft, out, used);
    if (error == 0) break;
    // EINVAL means an incomplete character at the very end.
    const std::size_t skipped = error == EINVAL ? inLeft : 1;
    in += skipped;
    inLeft -= skipped;
    AppendAt(out, used, ReplacementCharacter);
  }
  Flush(handle, out, used);
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
  if (SetByEnvironment()) return CodePage(std::getenv("LOCKVALE_CODEPAGE"));
  return CodePage(chosenName.empty() ? SystemName() : chosenName);
}

void CodePage::Choose(std::string name) {
  chosenName = std::move(name);
}

bool CodePage::SetByEnvironment() {
  const char* name = std::getenv("LOCKVALE_CODEPAGE");
  return name != nullptr && *name != '\0';
}

std::string CodePage::SystemName() {
  const std::string codeset = ::nl_langinfo(CODESET);
  // The C locale claims plain ASCII, which would turn every other typed character into '?'.
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII") return Utf8Name;
  return codeset;
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
  if (m_Name.empty()) ThrowUnknown(m_Name);  // iconv would take it for the locale's own
  IconvHandle encoder(m_Name.c_str(), WideName, m_Name);
  IconvHandle decoder(Utf8Name, m_Name.c_str(), m_Name);
}

std::vector<std::uint8_t> CodePage::Encode(std::string_view utf8, std::size_t* unheld) const {
  std::size_t marked = 0;
  Bytes out;
  if (m_IsUtf8) {
    out = CopyUtf8Replacing<Bytes>(AsBytes(utf8), QuestionMark, marked);
  } else {
    IconvHandle encoder(m_Name.c_str(), WideName, m_Name);
    out = EncodeWithIconv(encoder.Get(), AsBytes(utf8), marked);
  }
  if (unheld != nullptr) *unheld = marked;
  return out;
}

std::string CodePage::Decode(std::span<const std::uint8_t> bytes) const {
  std::size_t replaced = 0;
  if (m_IsUtf8) return CopyUtf8Replacing<std::string>(bytes, ReplacementCharacter, replaced);
  IconvHandle decoder(Utf8Name, m_Name.c_str(), m_Name);
  return DecodeWithIconv(decoder.Get(), bytes);
}

}  // namespace lockvale
