#include "util/CodePage.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>

#include "TestSupport.h"
#include "util/RaisedError.h"

namespace lockvale {
namespace {

using test::Bytes;
using namespace std::string_literals;

const std::string Replacement = "\xEF\xBF\xBD";

TEST(CodePage, Utf8PassesValidTextAndReplacesInvalidParts) {
  const CodePage utf8("utf8");
  const Bytes accented{0xC3, 0xA9, 0xE2, 0x82, 0xAC};
  EXPECT_EQ(utf8.Encode("é€"), accented);
  EXPECT_EQ(utf8.Decode(accented), "é€");
  EXPECT_EQ(utf8.Decode(Bytes{'A', 0, 'B'}), "A\0B"s);

  // A stray continuation byte, a truncated character, a surrogate, an overlong form.
  const std::string invalid =
      "a\x80"
      "b\xE2\x82"
      "c\xED\xA0\x80"
      "d\xC0\xAF"
      "e\xF0\x9F\x98";
  const std::string marked = "a?b?c???d??e?";
  EXPECT_EQ(utf8.Encode(invalid), Bytes(marked.begin(), marked.end()));
  std::string replaced;
  for (char c : marked)
    replaced += c == '?' ? Replacement : std::string(1, c);
  EXPECT_EQ(utf8.Decode(Bytes(invalid.begin(), invalid.end())), replaced);
}

TEST(CodePage, Windows1252HoldsOneByteACharacterAndMarksWhatItCannot) {
  const CodePage western("windows-1252");
  const Bytes accented{0xE9, 0x80};
  EXPECT_EQ(western.Encode("é€"), accented);
  EXPECT_EQ(western.Decode(accented), "é€");
  EXPECT_EQ(western.Encode("aЖ\xFF-"), (Bytes{'a', '?', '?', '-'}));
  EXPECT_EQ(western.Decode(Bytes{'a', 0x81, 0, 0xFF}), "a" + Replacement + "\0ÿ"s);

  const std::string large(3'000'000, 'x');
  const Bytes encoded = western.Encode(large + "€");
  EXPECT_EQ(encoded.size(), large.size() + 1);
  EXPECT_EQ(western.Decode(encoded), large + "€");
}

TEST(CodePage, SystemCodePageComesFromTheEnvironmentOrTheLocale) {
  const char* previous = std::getenv("LOCKVALE_CODEPAGE");
  const std::optional<std::string> saved =
      previous ? std::optional<std::string>(previous) : std::nullopt;
  const std::string savedLocale = std::setlocale(LC_CTYPE, nullptr);

  setenv("LOCKVALE_CODEPAGE", "windows-1252", 1);
  EXPECT_EQ(CodePage::ForThisSystem().Name(), "windows-1252");
  setenv("LOCKVALE_CODEPAGE", "no-such-page", 1);
  try {
    CodePage::ForThisSystem();
    ADD_FAILURE() << "an unknown code page was accepted";
  } catch (const RaisedError& error) {
    EXPECT_EQ(error.Number(), 1);
    EXPECT_STREQ(error.what(), "CodePage.Open - Unknown code page no-such-page");
  }
  EXPECT_THROW(CodePage(""), RaisedError);
  setenv("LOCKVALE_CODEPAGE", "", 1);
  std::setlocale(LC_CTYPE, "C");
  const CodePage system = CodePage::ForThisSystem();
  EXPECT_EQ(system.Name(), "UTF-8");
  EXPECT_EQ(system.Encode("€"), (Bytes{0xE2, 0x82, 0xAC}));

  std::setlocale(LC_CTYPE, savedLocale.c_str());
  if (saved)
    setenv("LOCKVALE_CODEPAGE", saved->c_str(), 1);
  else
    unsetenv("LOCKVALE_CODEPAGE");
}

}  // namespace
}  // namespace lockvale
