#include "util/CodePage.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "util/CodePageConversion.h"

namespace lockvale {
namespace {

using Bytes = std::vector<std::uint8_t>;
using codepage::AppendAt;
using codepage::ThrowUnknown;

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

// Decodes up to WideChunk characters from `position` on, each ill-formed part
// becoming a counted '?'; returns where it stopped.
std::size_t DecodeUtf8Chunk(std::span<const std::uint8_t> utf8, std::size_t position,
                            std::vector<wchar_t>& wide, std::size_t& unheld) {
  wide.clear();
  while (position < utf8.size() && wide.size() < WideChunk) {
    const codepage::Utf8Step step = codepage::NextUtf8Step(utf8.subspan(position));
    wide.push_back(step.wellFormed ? static_cast<wchar_t>(
                                         codepage::CodePointOf(utf8.subspan(position, step.length)))
                                   : L'?');
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

}  // namespace

std::string CodePage::SystemName() {
  const std::string codeset = ::nl_langinfo(CODESET);
  // The C locale claims plain ASCII, which would turn every other typed character into '?'.
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII") return Utf8Name;
  return codeset;
}

namespace codepage {

void CheckKnown(const std::string& codePage) {
  // Both directions, as they are used.
  IconvHandle encoder(codePage.c_str(), WideName, codePage);
  IconvHandle decoder(Utf8Name, codePage.c_str(), codePage);
}

std::vector<std::uint8_t> EncodeText(const std::string& codePage,
                                     std::span<const std::uint8_t> utf8, std::size_t& unheld) {
  IconvHandle encoder(codePage.c_str(), WideName, codePage);
  return EncodeWithIconv(encoder.Get(), utf8, unheld);
}

std::string DecodeText(const std::string& codePage, std::span<const std::uint8_t> bytes) {
  IconvHandle decoder(Utf8Name, codePage.c_str(), codePage);
  return DecodeWithIconv(decoder.Get(), bytes);
}

}  // namespace codepage
}  // namespace lockvale
