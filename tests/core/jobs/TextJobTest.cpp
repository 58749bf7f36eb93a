// The text job and the key bytes through a scripted front end.
#include "jobs/TextJob.h"

#include <gtest/gtest.h>

#include <tuple>

#include "ScriptedHost.h"
#include "TestSupport.h"
#include "jobs/HexText.h"

using namespace lockvale::test;

static MessageRequest Confirm(const std::string& verb) {
  return QuestionBox("Are you sure you wish to " + verb + " this text?", "Encrypt");
}

// The zero-padded ECB ciphertext of the bytes under a 128-bit key, as grouped digits.
static std::string CipherDigits(std::string_view text, std::string_view key) {
  Bytes padded(text.begin(), text.end());
  padded.resize((padded.size() + 15) / 16 * 16, 0);
  return HexDisplay(OpenSslEcb(true, Key(key), 128, padded), 16);
}

// The text job on `text` under `key`, its questions answered by `answers`: what it shows.
static std::string RunText(ScriptedHost& host, Direction direction, const std::string& text,
                           std::string_view key = "secret", std::string_view answers = "Y",
                           Format format = Format::Encr) {
  JobRequest request;
  request.format = format;
  request.kdf = {1, 8, 1};
  request.mode = JobMode::Text;
  request.direction = direction;
  request.text = host.shown = text;
  request.keyText = SecretText(key);
  host.boxes.Queue(answers);
  TextJob(request, host).Run();
  return host.shown;
}

// Empty inputs are refused before anything is asked, text that is not hex after; texts go to
// grouped digits and back; keys and texts become bytes through the code page, UTF-8 here
// unless overridden, except in a sealed text.
TEST(TextJob, RefusalsRoundTripsAndTheCodePage) {
  ScriptedHost host;
  const auto Run = [&](auto... arguments) { return RunText(host, arguments...); };
  Run(Direction::Encrypt, "", "");
  Run(Direction::Encrypt, "x", "");
  Run(Direction::Decrypt, "", "");
  Run(Direction::Decrypt, "00", "");
  EXPECT_TRUE(host.statuses.empty());
  EXPECT_EQ(Run(Direction::Decrypt, "GHIJ xyz\r\nQ"), "GHIJ xyz\r\nQ");
  EXPECT_EQ(host.statuses.back(), "");
  EXPECT_FALSE(host.progressFilled);
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{NoticeBox("Please enter in some text to encrypt.", "Text"),
                      NoticeBox("No Encryption Key", "Key"),
                      NoticeBox("Please enter in some text to decrypt.", "Text"),
                      NoticeBox("No Key", "Key"), Confirm("decrypt"),
                      NoticeBox("Text not Hex data", "Data")}));

  for (std::size_t length : {3, 16, 17, 40'000}) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
      text += static_cast<char>('a' + i % 26);
    const std::string hex = Run(Direction::Encrypt, text);
    EXPECT_EQ(hex, CipherDigits(text, "secret"));
    EXPECT_TRUE(host.progressMaximum == length + 1 && host.progressFilled);
    EXPECT_EQ(Run(Direction::Decrypt, hex), text);
    EXPECT_EQ(host.boxes.TakeAsked(),
              (Requests{Confirm("encrypt"), NoticeBox("Encrypt Finished", "Status"),
                        Confirm("decrypt"), NoticeBox("Decrypt Finished", "Status")}));
  }
  EXPECT_EQ(Names(host.statuses.end() - 5, host.statuses.end()),
            (Names{"Converting Text", "Decrypting Data", "Converting Text", "", "Completed"}));

  const std::string cafe = "caf\xC3\xA9", e = "\xC3\xA9";
  EXPECT_EQ(Run(Direction::Encrypt, cafe, e), CipherDigits(cafe, e));
  ::setenv("LOCKVALE_CODEPAGE", "windows-1252", 1);
  const std::string western = Run(Direction::Encrypt, cafe, e);
  const std::string back = Run(Direction::Decrypt, western, e);
  // Sealed, a text is UTF-8, so nothing is lost to ask about; its digits open by their magic.
  const std::string sealed = Run(Direction::Encrypt, "\u03A9", "\u03A9", "Y", Format::Lkv);
  EXPECT_TRUE(Run(Direction::Decrypt, sealed, "\u03A9") == "\u03A9" && sealed.starts_with("894C"));
  EXPECT_EQ(Run(Direction::Decrypt, sealed, "x"), sealed);
  ::unsetenv("LOCKVALE_CODEPAGE");
  EXPECT_EQ(western, CipherDigits("caf\xE9", "\xE9"));
  EXPECT_EQ(back, cafe);
  EXPECT_EQ(host.boxes.asked.back(),
            NoticeBox("Wrong key, or the file's header is damaged.", "Error"));
}

// Encrypting asks before the key, then the text, loses characters to the code page; only Yes
// goes on. What the code page holds, and decrypting, ask nothing.
TEST(TextJob, AsksBeforeCharactersAreLostToTheCodePage) {
  const std::string lost =
      " holds characters that the code page windows-1252 cannot hold. They "
      "would be encrypted as \"?\"";
  const MessageRequest key =
      QuestionBox("The key" + lost + ", which makes the key weaker. Do you wish to go on?",
                  "Code Page", NoticeIcon::Exclamation);
  const MessageRequest text = QuestionBox("The text" + lost + " and lost. Do you wish to go on?",
                                          "Code Page", NoticeIcon::Exclamation);
  const MessageRequest done = NoticeBox("Encrypt Finished", "Status"),
                       size = NoticeBox("Ciphertext size not a multiple of block size", "Size");
  const std::tuple<Direction, std::string, std::string, std::string, Requests> kRows[] = {
      {Direction::Encrypt, "abc", "Ωmega", "YN", {Confirm("encrypt"), key}},
      {Direction::Encrypt, "Grüße", "Grüße", "Y", {Confirm("encrypt"), done}},
      {Direction::Decrypt, "00", "Ωmega", "Y", {Confirm("decrypt"), size}},
      {Direction::Encrypt, "aΩ", "Ωmega", "YYN", {Confirm("encrypt"), key, text}},
  };
  ::setenv("LOCKVALE_CODEPAGE", "windows-1252", 1);
  for (const auto& [direction, input, keyText, answers, asked] : kRows) {
    ScriptedHost host;
    RunText(host, direction, input, keyText, answers);
    EXPECT_EQ(host.boxes.asked, asked) << input << " " << answers;
    EXPECT_EQ(host.statuses.empty() && host.shown == input, answers.back() == 'N');
  }
  ::unsetenv("LOCKVALE_CODEPAGE");
}
