// The batch job through a scripted front end: the source-reuse questions, skips,
// failing rows among good ones, and what stops a run.
#include "jobs/BatchJob.h"

#include <gtest/gtest.h>

#include <system_error>

#include "ScriptedHost.h"
#include "TestSupport.h"

namespace lockvale {
namespace {

using test::Bytes;
using test::NoticeBox;
using test::QuestionBox;
using Requests = std::vector<MessageRequest>;
using Names = std::vector<std::string>;

const MessageRequest kConfirmEncrypt =
    QuestionBox("Are you sure you wish to encrypt these files?", "Encrypt");
const MessageRequest kConfirmDecrypt =
    QuestionBox("Are you sure you wish to decrypt these files?", "Encrypt");
const MessageRequest kEncryptFinished = NoticeBox("Encrypt Finished", "Status");

MessageRequest Reuse(int s, int y) {
  const std::string a = std::to_string(s), b = std::to_string(y);
  return QuestionBox("At entry " + a +
                         ", you have chosen to remove the source file. However, at entry " + b +
                         " you want to use the source file again. Select yes to keep the "
                         "source file at entry " +
                         a + " or no to remove the entry at line " + b + ".",
                     "Source", NoticeIcon::Information);
}

class BatchJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a", "b", "c"})
      test::WriteFile(dir / name, Bytes(100, static_cast<std::uint8_t>(name[0])));
  }
  BatchEntry Row(const std::string& source, const std::string& destination,
                 const char* overwrite = "No", const char* deleteSource = "No") {
    return {source.empty() ? "" : dir / source, destination.empty() ? "" : dir / destination,
            overwrite, deleteSource};
  }
  void Run(Direction direction, std::vector<MessageAnswer> answers, std::string_view key = "k") {
    JobRequest request;
    request.mode = JobMode::MultipleFiles;
    request.direction = direction;
    request.keyText = SecretText(key);
    host.boxes.answers.assign(answers.begin(), answers.end());
    BatchJob(request, host).Run();
    EXPECT_EQ(host.boxes.unscripted, 0);
  }
  std::vector<BatchEntry>& rows = host.list.rows;

  test::TempDir dir;
  test::ScriptedHost host;
};

TEST_F(BatchJobTest, EmptyListDeclinedRunAndEmptyKeyTouchNothing) {
  Run(Direction::Encrypt, {});
  Run(Direction::Decrypt, {});
  rows = {Row("a", "a.encr", "No", "Yes"), Row("a", "a2.encr")};
  Run(Direction::Encrypt, {MessageAnswer::No});
  Run(Direction::Encrypt, {MessageAnswer::Yes, MessageAnswer::Yes}, "");
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{NoticeBox("You have not added any files to encrypt.", "Encrypt"),
                      NoticeBox("You have not added any files to decrypt.", "Encrypt"),
                      kConfirmEncrypt, kConfirmEncrypt, Reuse(1, 2),
                      NoticeBox("Please enter a security key", "Security Key")}));
  EXPECT_EQ(dir.Entries(), (Names{"a", "b", "c"}));
  EXPECT_TRUE(host.statuses.empty());
}

TEST_F(BatchJobTest, ReusedSourcesAreSettledBeforeEachEntry) {
  struct Case {
    std::vector<const char*> deletes;  // per row, all rows reading "a"
    std::vector<MessageAnswer> answers;
    Requests questions;
    Names left;
    std::vector<const char*> flagsAfter;
  };
  const MessageAnswer Yes = MessageAnswer::Yes, No = MessageAnswer::No;
  const Case cases[] = {
      {{"Yes", "No"}, {Yes}, {Reuse(1, 2)}, {"a", "b", "c", "x1", "x2"}, {"No", "No"}},
      {{"Yes", "No"}, {No}, {Reuse(1, 2)}, {"b", "c", "x1"}, {"Yes"}},
      {{"Yes", "Yes", "No"},
       {Yes, Yes},
       {Reuse(1, 2), Reuse(2, 3)},
       {"a", "b", "c", "x1", "x2", "x3"},
       {"No", "No", "No"}},
      {{"Yes", "No"}, {MessageAnswer::Cancel}, {Reuse(1, 2)}, {"a", "b", "c"}, {"Yes", "No"}},
  };
  for (const Case& c : cases) {
    rows.clear();
    for (std::size_t i = 0; i < c.deletes.size(); ++i)
      rows.push_back(Row("a", "x" + std::to_string(i + 1), "No", c.deletes[i]));
    std::vector<MessageAnswer> answers{MessageAnswer::Yes};
    answers.insert(answers.end(), c.answers.begin(), c.answers.end());
    Run(Direction::Encrypt, answers);
    Requests expected{kConfirmEncrypt};
    expected.insert(expected.end(), c.questions.begin(), c.questions.end());
    if (c.answers.back() != MessageAnswer::Cancel) expected.push_back(kEncryptFinished);
    EXPECT_EQ(host.boxes.TakeAsked(), expected);
    EXPECT_EQ(dir.Entries(), c.left);
    std::vector<std::string> flags;
    for (const BatchEntry& row : rows)
      flags.push_back(row.deleteSource);
    EXPECT_EQ(flags, std::vector<std::string>(c.flagsAfter.begin(), c.flagsAfter.end()));
    for (const std::string& name : dir.Entries())
      if (name[0] == 'x') std::filesystem::remove(dir / name);
    test::WriteFile(dir / "a", Bytes(100, 'a'));
  }
  // Decrypting never asks; another spelling of a path is another source, so the first row
  // deletes it and the second finds nothing to read.
  rows = {Row("a", "x1", "No", "Yes"), Row("a", "x2")};
  Run(Direction::Decrypt, {MessageAnswer::Yes});
  const auto sizeError =
      NoticeBox("File Size Error - ciphertext file not a multiple of block size", "Size");
  EXPECT_EQ(host.boxes.TakeAsked(), (Requests{kConfirmDecrypt, sizeError, sizeError}));
  rows = {Row("a", "x1", "No", "Yes"), Row("./a", "x2")};
  EXPECT_THROW(Run(Direction::Encrypt, {MessageAnswer::Yes}), std::system_error);
  EXPECT_EQ(host.boxes.TakeAsked(), Requests{kConfirmEncrypt});
}

TEST_F(BatchJobTest, FailingRowsAreMarkedAndTheOthersDone) {
  rows = {Row("a", "a.encr"), Row("b", "b.encr", "No", "Yes"), Row("c", "c.encr")};
  Run(Direction::Encrypt, {MessageAnswer::Yes});
  test::WriteFile(dir / "bad.encr", Bytes(32, 7));  // decrypts to a bad length byte
  test::WriteFile(dir / "a", {'o', 'l', 'd'});
  rows = {Row("a.encr", "a"),  // overwrite "No": skipped, "old" kept
          Row("bad.encr", "bad", "Yes", "Yes"),
          Row("", "x"),              // no source: skipped
          Row("c.encr", "", "Yes"),  // no destination: skipped
          Row("b.encr", "b", "Yes", "Yes"),
          Row("c.encr", "c.encr", "Yes"),  // its own source
          Row("c.encr", "c2", "Yes")};
  host.boxes.TakeAsked();
  Run(Direction::Decrypt, {MessageAnswer::Yes});
  EXPECT_EQ(host.boxes.TakeAsked(),
            (Requests{kConfirmDecrypt,
                      NoticeBox("Warning - incorrect length field in decrypted file.\r\nWrong "
                                "key or keysize?",
                                "Error")}));
  EXPECT_EQ(host.statuses.back(), "Error");
  EXPECT_EQ(dir.Entries(), (Names{"a", "a.encr", "b", "bad.encr", "c", "c.encr", "c2"}));
  EXPECT_EQ(test::ReadFile(dir / "a"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(test::ReadFile(dir / "b"), Bytes(100, 'b'));
  EXPECT_EQ(test::ReadFile(dir / "c2"), Bytes(100, 'c'));
  EXPECT_EQ(host.list.failed,
            (Names{"", "Wrong key or key size, or not an encrypted file", "", "", "",
                   "The destination file is the same as the source file", ""}));
}

// An unreadable source fails its row; a missing one ends the run for the error reporter.
TEST_F(BatchJobTest, UnreadableSourceFailsItsRowMissingSourceEndsTheRun) {
  rows = {Row("a", "a.encr"),
          {"/proc/self/mem", dir / "mem.encr", "No", "No"},
          Row("missing", "m.encr"),
          Row("b", "b.encr")};
  try {
    Run(Direction::Encrypt, {MessageAnswer::Yes});
    ADD_FAILURE() << "a missing source went unnoticed";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
  }
  EXPECT_EQ(host.list.failed[1], "Cannot read /proc/self/mem: Input/output error");
  EXPECT_EQ(dir.Entries(), (Names{"a", "a.encr", "b", "c"}));
}

}  // namespace
}  // namespace lockvale
