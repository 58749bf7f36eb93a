#include "util/CodePage.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <tuple>

#include "TestSupport.h"
#include "util/RaisedError.h"

using namespace lockvale::test;

using namespace std::string_literals;

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

TEST(CodePage, Utf8AndWindows1252HoldTheirCharactersAndMarkWhatTheyCannot) {
  const CodePage utf8("utf8");
  const Bytes accented{0xC3, 0xA9, 0xE2, 0x82, 0xAC};
  EXPECT_EQ(utf8.Encode("é€"), accented);
  EXPECT_EQ(utf8.Decode(accented), "é€");
  EXPECT_EQ(utf8.Decode(Bytes{'A', 0, 'B'}), "A\0B"s);

  // A stray continuation byte (80), a truncated character (E2 82), a surrogate (ED A0 80),
  // an overlong form (C0 AF), and a truncated character at the end (F0 9F 98); in octal.
  const std::string invalid = "a\200b\342\202c\355\240\200d\300\257e\360\237\230";
  const std::string marked = "a?b?c???d??e?",
                    replaced = "a\uFFFDb\uFFFDc\uFFFD\uFFFD\uFFFDd\uFFFD\uFFFDe\uFFFD";
  EXPECT_EQ(utf8.Encode(invalid), Bytes(marked.begin(), marked.end()));
  EXPECT_EQ(utf8.Decode(Bytes(invalid.begin(), invalid.end())), replaced);

  // windows-1252 holds one byte a character and marks what it cannot hold.
  const CodePage western("windows-1252");
  EXPECT_EQ(western.Encode("é€"), (Bytes{0xE9, 0x80}));
  EXPECT_EQ(western.Decode(Bytes{0xE9, 0x80}), "é€");
  EXPECT_EQ(western.Encode("aЖ\xFF-"), (Bytes{'a', '?', '?', '-'}));
  // Windows' own table gives 81 a character, U+0081; iconv's has none there.
  const std::string unassigned = kWindows ? "\u0081" : "\uFFFD";
  EXPECT_EQ(western.Decode(Bytes{'a', 0x81, 0, 0xFF}), "a" + unassigned + "\0ÿ"s);
  // Only what became '?' counts as unheld: not a typed '?', but each ill-formed part.
  const std::tuple<const char*, const char*, std::size_t> kUnheld[] = {
      {"windows-1252", "Grüße€a?b", 0}, {"windows-1252", "Ω\xFF", 2}, {"UTF-8", "Ω?\xFF", 1}};
  for (const auto& [name, text, unheld] : kUnheld) {
    std::size_t counted = 99;
    CodePage(name).Encode(text, &counted);
    EXPECT_EQ(counted, unheld) << text;
  }
  const std::string large(3'000'000, 'x');
  const Bytes encoded = western.Encode(large + "€");
  EXPECT_EQ(encoded.size(), large.size() + 1);
  EXPECT_EQ(western.Decode(encoded), large + "€");
}

TEST(CodePage, SystemCodePageComesFromTheEnvironmentOrTheLocale) {
  std::setlocale(LC_CTYPE, "C");     // as every program starts
  CodePage::Choose("windows-1250");  // the environment outranks the window's choice
  setenv("LOCKVALE_CODEPAGE", "windows-1252", 1);
  EXPECT_EQ(CodePage::ForThisSystem().Name(), "windows-1252");
  unsetenv("LOCKVALE_CODEPAGE");
  EXPECT_EQ(CodePage::ForThisSystem().Name(), "windows-1250");
  CodePage::Choose("");
  setenv("LOCKVALE_CODEPAGE", "no-such-page", 1);
  const auto error = Caught<RaisedError>([] { CodePage::ForThisSystem(); });
  EXPECT_EQ(error.value().Number(), 1);
  EXPECT_STREQ(error->what(), "CodePage.Open - Unknown code page no-such-page");
  EXPECT_THROW(CodePage(""), RaisedError);
  setenv("LOCKVALE_CODEPAGE", "", 1);
  const CodePage system = CodePage::ForThisSystem();
  unsetenv("LOCKVALE_CODEPAGE");
  // Under Wine in the C.UTF-8 locale the system's ANSI code page is windows-1252.
  EXPECT_EQ(system.Name(), kWindows ? "windows-1252" : "UTF-8");
  EXPECT_EQ(system.Encode("€"), kWindows ? Bytes{0x80} : (Bytes{0xE2, 0x82, 0xAC}));
}
