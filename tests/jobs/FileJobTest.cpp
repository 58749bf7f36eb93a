#include "jobs/FileJob.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <system_error>

#include "TestSupport.h"

namespace lockvale {
namespace {

using test::Bytes;

class FileJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cipher.SetNotifier(&notices);
    cipher.SetCipherKeyString("correct horse", 256);
  }
  FileJobOutcome Run(const std::string& source, const std::string& destination, Direction direction,
                     bool replace = false, bool deleteSource = false) {
    return RunFileJob(cipher, {dir / source, dir / destination, direction, replace, deleteSource});
  }

  test::TempDir dir;
  test::RecordingNotifier notices;
  cEncrypt cipher;
  const Bytes plain = test::RandomBytes(100'003, 7);
};

TEST_F(FileJobTest, RoundTripAndDeleteSourceOnlyAfterSuccess) {
  test::WriteFile(dir / "plain", plain);
  EXPECT_EQ(Run("plain", "plain.encr", Direction::Encrypt, false, true), FileJobOutcome::Completed);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"plain.encr"});
  EXPECT_EQ(Run("plain.encr", "plain", Direction::Decrypt), FileJobOutcome::Completed);
  EXPECT_EQ(test::ReadFile(dir / "plain"), plain);
  EXPECT_TRUE(notices.notices.empty());
}

TEST_F(FileJobTest, FailedDecryptionLeavesNoOutputAndKeepsSourceAndOldDestination) {
  test::WriteFile(dir / "plain", plain);
  ASSERT_EQ(Run("plain", "cipher", Direction::Encrypt), FileJobOutcome::Completed);
  test::WriteFile(dir / "old", {42});
  cipher.SetCipherKeyString("wrong key", 128);
  // The length byte catches a wrong key fifteen times in sixteen; this key is one of those.
  EXPECT_EQ(Run("cipher", "old", Direction::Decrypt, true, true), FileJobOutcome::Refused);
  EXPECT_EQ(test::ReadFile(dir / "old"), Bytes{42});
  EXPECT_EQ(Run("cipher", "new", Direction::Decrypt, true, true), FileJobOutcome::Refused);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"cipher", "old", "plain"}));
  ASSERT_EQ(notices.notices.size(), 2u);
  EXPECT_EQ(notices.notices[0].title, "Error");

  test::WriteFile(dir / "ragged", Bytes(17));
  EXPECT_EQ(Run("ragged", "out", Direction::Decrypt), FileJobOutcome::Refused);
  EXPECT_EQ(notices.notices.back().text,
            "File Size Error - ciphertext file not a multiple of block size");
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST_F(FileJobTest, WriteFailureIsAnErrorAndLeavesNothing) {
  // A file size limit makes the kernel refuse writes past it, as a full disk would.
  test::WriteFile(dir / "plain", test::RandomBytes(3'000'000, 1));
  test::WriteFile(dir / "old", {42});
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = 1'000'000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  try {
    Run("plain", "old", Direction::Encrypt, true, true);
    ADD_FAILURE() << "the job reported success";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), EFBIG);
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"old", "plain"}));
  EXPECT_EQ(test::ReadFile(dir / "old"), Bytes{42});
}

TEST_F(FileJobTest, UnreadableSourceIsAnError) {
  EXPECT_THROW(Run("missing", "out", Direction::Encrypt), std::system_error);
  std::filesystem::create_directory(dir.Path() / "folder");
  EXPECT_THROW(Run("folder", "out", Direction::Encrypt), std::system_error);
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

}  // namespace
}  // namespace lockvale
