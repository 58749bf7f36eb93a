// The text job and the key bytes through a scripted front end.
#include "jobs/TextJob.h"

#include <gtest/gtest.h>

#include <cctype>

#include "ScriptedHost.h"
#include "TestSupport.h"
#include "jobs/JobSteps.h"

namespace lockvale {
namespace {

using test::Bytes;
using test::NoticeBox;
using test::QuestionBox;
using Requests = std::vector<MessageRequest>;

const MessageRequest kConfirmEncrypt =
    QuestionBox("Are you sure you wish to encrypt this text?", "Encrypt");
const MessageRequest kConfirmDecrypt =
    QuestionBox("Are you sure you wish to decrypt this text?", "Encrypt");

// Upper-case digits of the zero-padded ECB ciphertext, without grouping.
std::string CipherDigits(std::string_view text, std::string_view key) {
  Bytes padded(text.begin(), text.end()), keyBytes(key.begin(), key.end());
  padded.resize((padded.size() + 15) / 16 * 16, 0);
  keyBytes.resize(16, 0);
  std::string digits;
  for (std::uint8_t byte : test::OpenSslEcb(true, keyBytes, 128, padded)) {
    static const char kHex[] = "0123456789ABCDEF";
    digits += kHex[byte >> 4];
    digits += kHex[byte & 15];
  }
  return digits;
}

std::string WithoutSpaces(std::string text) {
  std::erase(text, ' ');
  return text;
}

// Groups of 32 upper-case digits, two spaces between groups; `separator` in their place.
bool Grouped(const std::string& hex, std::string* regrouped, const std::string& separator) {
  for (std::size_t at = 0;; at += 34) {
    if (hex.size() < at + 32) return false;
    const std::string group = hex.substr(at, 32);
    if (group.find_first_not_of("0123456789ABCDEF") != std::string::npos) return false;
    *regrouped += group;
    if (hex.size() == at + 32) return true;
    if (hex.compare(at + 32, 2, "  ") != 0) return false;
    *regrouped += separator;
  }
}

class TextJobTest : public ::testing::Test {
 protected:
  std::string Run(Direction direction, const std::string& text, std::string_view key = "secret") {
    JobRequest request;
    request.mode = JobMode::Text;
    request.direction = direction;
    request.text = text;
    request.keyText = SecretText(key);
    host.shown = text;
    host.boxes.Queue(MessageAnswer::Yes);
    TextJob(request, host).Run();
    return host.shown;
  }

  test::ScriptedHost host;
};

TEST_F(TextJobTest, RoundTripsTextsIntoGroupedDigits) {
  const std::pair<std::size_t, std::size_t> kLengths[] = {
      {3, 32}, {16, 32}, {17, 66}, {40'000, 80'000 + 2 * 2'499}};
  for (const auto& [length, digits] : kLengths) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
      text += static_cast<char>('a' + i % 26);
    const std::string hex = Run(Direction::Encrypt, text);
    EXPECT_EQ(host.boxes.TakeAsked(),
              (Requests{kConfirmEncrypt, NoticeBox("Encrypt Finished", "Status")}));
    EXPECT_EQ(hex.size(), digits);
    std::string reflowed;
    EXPECT_TRUE(Grouped(hex, &reflowed, "\r\n"));
    EXPECT_EQ(WithoutSpaces(hex), CipherDigits(text, "secret"));
    EXPECT_EQ(host.progressMaximum, length + 1);
    EXPECT_TRUE(host.progressFilled);

    for (char& c : reflowed)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(Run(Direction::Decrypt, reflowed), text);
    EXPECT_EQ(host.boxes.TakeAsked(),
              (Requests{kConfirmDecrypt, NoticeBox("Decrypt Finished", "Status")}));
  }
  EXPECT_EQ(std::vector(host.statuses.end() - 5, host.statuses.end()),
            (std::vector<std::string>{"Converting Text", "Decrypting Data", "Converting Text", "",
                                      "Completed"}));
}

TEST_F(TextJobTest, RefusesEmptyInputsBeforeAsking) {
  Run(Direction::Encrypt, "", "");
  Run(Direction::Encrypt, "x", "");
  Run(Direction::Decrypt, "", "");
  Run(Direction::Decrypt, "00", "");
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{NoticeBox("Please enter in some text to encrypt.", "Text"),
                      NoticeBox("No Encryption Key", "Key"),
                      NoticeBox("Please enter in some text to decrypt.", "Text"),
                      NoticeBox("No Key", "Key")}));
  EXPECT_TRUE(host.statuses.empty());
}

TEST_F(TextJobTest, RefusesTextThatIsNotCiphertextAndKeepsIt) {
  EXPECT_EQ(Run(Direction::Decrypt, "GHIJ xyz\r\nQ"), "GHIJ xyz\r\nQ");
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{kConfirmDecrypt, NoticeBox("Text not Hex data", "Data")}));
  EXPECT_EQ(host.statuses.back(), "");

  const std::string missingPair = CipherDigits("abc", "secret").substr(2);
  EXPECT_EQ(Run(Direction::Decrypt, missingPair), missingPair);
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{kConfirmDecrypt,
                      NoticeBox("Ciphertext size not a multiple of block size", "Size")}));
  EXPECT_EQ(host.statuses.back(), "");
  EXPECT_FALSE(host.progressFilled);
}

// Keys and texts become bytes through the code page: UTF-8 here, unless overridden.
TEST_F(TextJobTest, KeysAndTextsGoThroughTheCodePage) {
  const std::string cafe = "caf\xC3\xA9";
  EXPECT_EQ(WithoutSpaces(Run(Direction::Encrypt, cafe)), CipherDigits(cafe, "secret"));
  const auto forty = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
  EXPECT_EQ(GetPassword(SecretText(forty))->Bytes(),
            GetPassword(SecretText(std::string_view(forty).substr(0, 32)))->Bytes());
  EXPECT_EQ(GetPassword(SecretText("\xC3\xA9"))->Bytes()[1], 0xA9);

  ::setenv("LOCKVALE_CODEPAGE", "windows-1252", 1);
  const std::string western = Run(Direction::Encrypt, cafe, "\xC3\xA9");
  const auto westernKey = GetPassword(SecretText("\xC3\xA9"))->Bytes();
  const std::string back = Run(Direction::Decrypt, western, "\xC3\xA9");
  ::unsetenv("LOCKVALE_CODEPAGE");
  EXPECT_EQ(WithoutSpaces(western), CipherDigits("caf\xE9", "\xE9"));
  EXPECT_EQ(westernKey[0], 0xE9);
  EXPECT_EQ(westernKey[1], 0);
  EXPECT_EQ(back, cafe);
}

}  // namespace
}  // namespace lockvale
