#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lockvale {

// The character set through which typed text becomes bytes and bytes become text
// again: the system's code page, or the one named by LOCKVALE_CODEPAGE (for keys
// and texts made on systems with another code page, such as windows-1252).
//
// Encode turns UTF-8 into code-page bytes. A character the code page cannot hold
// becomes '?', and so does each maximal ill-formed part of invalid UTF-8.
// Decode turns code-page bytes into UTF-8. A byte that does not start a decodable
// character becomes U+FFFD and decoding resumes at the next byte; an incomplete
// character at the end becomes one U+FFFD. With the UTF-8 code page, each maximal
// ill-formed part becomes one U+FFFD. Zero bytes pass through as U+0000.
class CodePage {
 public:
  // LOCKVALE_CODEPAGE if set and not empty, else the one chosen in the window, else the
  // system's.
  static CodePage ForThisSystem();
  // The name ForThisSystem() opens, also when the platform does not know it.
  static std::string NameInForce();
  // The code page picked in the window for this process; "" means the system's.
  static void Choose(std::string name);
  static const std::string& Chosen();
  static bool SetByEnvironment();
  // The character set of the current LC_CTYPE locale, where the plain-ASCII C locale
  // counts as UTF-8.
  static std::string SystemName();
  // The common Windows code pages this platform knows, windows-1252 first.
  static const std::vector<std::string>& WindowsCodePages();

  // Throws RaisedError 1 when the platform does not know the code page.
  explicit CodePage(std::string name);

  const std::string& Name() const { return m_Name; }
  // `unheld`, if given, receives how many characters became '?' (a '?' in the text
  // does not count).
  std::vector<std::uint8_t> Encode(std::string_view utf8, std::size_t* unheld = nullptr) const;
  std::string Decode(std::span<const std::uint8_t> bytes) const;

 private:
  std::string m_Name;
  bool m_IsUtf8 = false;
};

}  // namespace lockvale
