// The single-file job through a scripted front end: checks, questions, results.
#include "jobs/SingleFileJob.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <system_error>

#include "ScriptedHost.h"
#include "TestSupport.h"

namespace lockvale {
namespace {

using test::Bytes;
using test::NoticeBox;
using test::QuestionBox;
using Requests = std::vector<MessageRequest>;

const MessageRequest kConfirmEncrypt =
    QuestionBox("Are you sure you wish to encrypt this file?", "Encrypt");
const MessageRequest kConfirmDecrypt =
    QuestionBox("Are you sure you wish to decrypt this file?", "Encrypt");

MessageRequest OverwriteQuestion(const std::string& path) {
  return QuestionBox(path + " already exists. Do you wish to overwrite it?", "Lockvale",
                     NoticeIcon::Information);
}

Bytes KeyOf(std::string_view text, int bits) {
  Bytes key(text.begin(), text.end());
  key.resize(static_cast<std::size_t>(bits / 8), 0);
  return key;
}

class SingleFileJobTest : public ::testing::Test {
 protected:
  void Run(const std::string& source, const std::string& destination,
           Direction direction = Direction::Encrypt, std::string_view key = "key", int bits = 128) {
    JobRequest request;
    request.direction = direction;
    request.source = source.empty() ? source : dir / source;
    request.destination = destination.empty() ? destination : dir / destination;
    request.keyText = SecretText(key);
    request.keyBits = bits;
    request.overwrite = overwrite;
    request.deleteSource = deleteSource;
    SingleFileJob(request, host).Run();
  }
  Bytes Read(const std::string& name) { return test::ReadFile(dir / name); }

  test::TempDir dir;
  test::ScriptedHost host;
  bool overwrite = false, deleteSource = false;
};

TEST_F(SingleFileJobTest, RefusesIncompleteInputsInOrderAndTouchesNothing) {
  test::WriteFile(dir / "a.txt", {1, 2, 3});
  std::filesystem::create_directory(dir.Path() / "folder");
  ASSERT_EQ(::symlink((dir / "a.txt").c_str(), (dir / "link").c_str()), 0);
  ASSERT_EQ(::link((dir / "a.txt").c_str(), (dir / "hard").c_str()), 0);
  const auto missing = NoticeBox("Source file does not exist. Please enter a valid source filename",
                                 "Source filename");
  const auto same = NoticeBox(
      "The destination file is the same as the source file. Please enter a different "
      "destination filename",
      "Destination filename");
  struct Case {
    std::string source, destination, key;
    MessageRequest refusal;
  };
  const Case cases[] = {
      {"", "b", "k", NoticeBox("Please enter a valid source filename", "Source filename")},
      {"missing", "", "", missing},
      {"folder", "b", "k", missing},
      {"a.txt", "", "",
       NoticeBox("Please enter a valid destination filename", "Destination filename")},
      {"a.txt", "b", "", NoticeBox("Please enter a security key", "Security Key")},
      {"a.txt", "a.txt", "k", same},
      {"a.txt", "folder/../a.txt", "k", same},
      {"a.txt", "link", "k", same},
      {"a.txt", "hard", "k", same},
  };
  for (const Case& c : cases) {
    Run(c.source, c.destination, Direction::Encrypt, c.key);
    EXPECT_EQ(host.boxes.TakeAsked(), Requests{c.refusal}) << c.source << " " << c.destination;
  }
  EXPECT_TRUE(host.statuses.empty());
  EXPECT_EQ(Read("a.txt"), (Bytes{1, 2, 3}));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.txt", "folder", "hard", "link"}));
}

TEST_F(SingleFileJobTest, DeclinedQuestionsChangeNothing) {
  test::WriteFile(dir / "a.txt", Bytes(99, 7));
  test::WriteFile(dir / "a.txt.encr", {'o', 'l', 'd'});
  for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
    host.boxes.Queue(answer);
    Run("a.txt", "a.txt.encr");
    EXPECT_EQ(host.boxes.TakeAsked(), Requests{kConfirmEncrypt});
  }
  EXPECT_EQ(host.progressMaximum, 0u);
  host.boxes.Queue(MessageAnswer::Yes);
  host.boxes.Queue(MessageAnswer::No);
  Run("a.txt", "a.txt.encr");
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{kConfirmEncrypt, OverwriteQuestion(dir / "a.txt.encr")}));
  EXPECT_EQ(Read("a.txt.encr"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(host.progressMaximum, 100u);  // set before the question, as the bar shows it
  EXPECT_FALSE(host.progressFilled);
  EXPECT_TRUE(host.statuses.empty());
}

class SingleFileRoundTrip : public SingleFileJobTest,
                            public ::testing::WithParamInterface<std::pair<int, std::size_t>> {};

TEST_P(SingleFileRoundTrip, EncryptsToTheFileFormatAndBackDeletingTheSource) {
  const auto [bits, size] = GetParam();
  const Bytes plain = test::RandomBytes(size, size + 1);
  test::WriteFile(dir / "plain.bin", plain);
  deleteSource = true;
  host.boxes.Queue(MessageAnswer::Yes);
  Run("plain.bin", "plain.bin.encr", Direction::Encrypt, "correct horse", bits);
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{kConfirmEncrypt, NoticeBox("Encrypt Finished", "Status")}));
  EXPECT_EQ(host.statuses, (std::vector<std::string>{"Encrypting File", "Completed"}));
  EXPECT_EQ(host.progressMaximum, size + 1);
  EXPECT_TRUE(host.progressFilled);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"plain.bin.encr"});
  EXPECT_EQ(Read("plain.bin.encr"), test::OpenSslEcb(true, KeyOf("correct horse", bits), bits,
                                                     test::PadWithLengthByte(plain)));

  host.boxes.Queue(MessageAnswer::Yes);
  Run("plain.bin.encr", "plain.bin", Direction::Decrypt, "correct horse", bits);
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{kConfirmDecrypt, NoticeBox("Decrypt Finished", "Status")}));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"plain.bin"});
  EXPECT_EQ(Read("plain.bin"), plain);
}

INSTANTIATE_TEST_SUITE_P(KeySizes, SingleFileRoundTrip,
                         ::testing::Values(std::pair{128, 0}, std::pair{192, 17},
                                           std::pair{256, 70'001}));

TEST_F(SingleFileJobTest, ReplacesProtectedDestinationsOnlyWhenAgreed) {
  test::WriteFile(dir / "a.txt", {'n', 'e', 'w'});
  const Bytes expected =
      test::OpenSslEcb(true, KeyOf("key", 128), 128, test::PadWithLengthByte({'n', 'e', 'w'}));
  for (const char* name : {"readonly.encr", ".hidden.encr"}) {
    test::WriteFile(dir / name, {'o', 'l', 'd'});
    std::filesystem::permissions(dir / name, std::filesystem::perms::owner_read);
    host.boxes.Queue(MessageAnswer::Yes);
    host.boxes.Queue(MessageAnswer::Yes);
    Run("a.txt", name);
    EXPECT_EQ(host.boxes.TakeAsked(), (Requests{kConfirmEncrypt, OverwriteQuestion(dir / name),
                                                NoticeBox("Encrypt Finished", "Status")}));
    EXPECT_EQ(Read(name), expected);
  }
  overwrite = true;
  host.boxes.Queue(MessageAnswer::Yes);
  Run("a.txt", "readonly.encr");
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{kConfirmEncrypt, NoticeBox("Encrypt Finished", "Status")}));
}

// The size check comes before anything is created, so even a missing destination
// folder gets the size message rather than an error report.
TEST_F(SingleFileJobTest, RefusedCiphertextKeepsTheSourceAndCreatesNothing) {
  test::WriteFile(dir / "bad.encr", Bytes(17, 1));
  test::WriteFile(dir / "bad", {'k', 'e', 'e', 'p'});
  overwrite = deleteSource = true;
  for (const char* destination : {"bad", "missing-folder/bad"}) {
    host.boxes.Queue(MessageAnswer::Yes);
    Run("bad.encr", destination, Direction::Decrypt);
    EXPECT_EQ(host.boxes.TakeAsked(),
              (Requests{kConfirmDecrypt,
                        NoticeBox("File Size Error - ciphertext file not a multiple of block size",
                                  "Size")}));
    EXPECT_EQ(host.statuses.back(), "Error");
    EXPECT_FALSE(host.progressFilled);
  }
  EXPECT_EQ(Read("bad"), (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(Read("bad.encr"), Bytes(17, 1));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"bad", "bad.encr"}));
}

TEST_F(SingleFileJobTest, ReadErrorIsThrownToTheReporterAndLeavesNothing) {
  host.boxes.Queue(MessageAnswer::Yes);
  JobRequest request;
  request.source = "/proc/self/mem";  // a regular file that cannot be read
  request.destination = dir / "out.encr";
  request.keyText = SecretText("key");
  try {
    SingleFileJob(request, host).Run();
    ADD_FAILURE() << "the read error went unnoticed";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), EIO);
    EXPECT_STREQ(error.what(), "Cannot read /proc/self/mem: Input/output error");
  }
  EXPECT_EQ(host.statuses, std::vector<std::string>{"Encrypting File"});
  EXPECT_TRUE(dir.Entries().empty());
}

}  // namespace
}  // namespace lockvale
