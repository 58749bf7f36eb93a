#include "jobs/FileJob.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <system_error>

#include "TestSupport.h"

namespace lockvale {
namespace {

using test::Bytes;

class FileJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cipher.SetCipherKeyString("correct horse", 256);
    test::WriteFile(dir / "plain", plain);
    test::WriteFile(dir / "old", {42});
  }
  FileJobOutcome Run(const std::string& source, const std::string& destination,
                     Direction direction) {
    return RunFileJob(cipher, {dir / source, dir / destination, direction, true, true});
  }

  test::TempDir dir;
  cEncrypt cipher;
  const Bytes plain = test::RandomBytes(3'000'003, 7);
};

TEST_F(FileJobTest, SourceIsDeletedOnlyAfterTheResultIsInPlace) {
  ASSERT_EQ(Run("plain", "cipher", Direction::Encrypt), FileJobOutcome::Completed);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"cipher", "old"}));

  const Bytes encrypted = test::ReadFile(dir / "cipher");
  const Bytes lastBlock(encrypted.end() - 16, encrypted.end());
  cipher.SetCipherKey(test::KeyDecryptingToLastByte(lastBlock, 128, 200), 128);
  EXPECT_EQ(Run("cipher", "old", Direction::Decrypt), FileJobOutcome::Refused);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"cipher", "old"}));
  EXPECT_EQ(test::ReadFile(dir / "old"), Bytes{42});

  cipher.SetCipherKeyString("correct horse", 256);
  ASSERT_EQ(Run("cipher", "old", Direction::Decrypt), FileJobOutcome::Completed);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"old"});
  EXPECT_TRUE(test::ReadFile(dir / "old") == plain);
}

TEST_F(FileJobTest, WriteFailureIsAnErrorAndLosesNothing) {
  // A file size limit makes the kernel refuse writes past it, as a full disk would.
  rlimit saved{}, limited{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  limited = saved;
  limited.rlim_cur = 1'000'000;
  auto previous = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  EXPECT_THROW(Run("plain", "old", Direction::Encrypt), std::system_error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"old", "plain"}));
  EXPECT_EQ(test::ReadFile(dir / "old"), Bytes{42});
  EXPECT_TRUE(test::ReadFile(dir / "plain") == plain);
}

// As cp does: a private file stays private, and the umask still applies.
TEST_F(FileJobTest, ResultTakesTheSourcesPermissionBitsLessTheUmask) {
  using std::filesystem::perms;
  const mode_t savedMask = ::umask(022);
  const std::pair<perms, perms> kCases[] = {
      {perms(0600), perms(0600)}, {perms(0666), perms(0644)}, {perms(0440), perms(0440)}};
  for (const auto& [source, result] : kCases) {
    std::filesystem::permissions(dir / "plain", source);
    ASSERT_EQ(RunFileJob(cipher, {dir / "plain", dir / "cipher", Direction::Encrypt, true, false}),
              FileJobOutcome::Completed);
    ASSERT_EQ(RunFileJob(cipher, {dir / "cipher", dir / "back", Direction::Decrypt, true, false}),
              FileJobOutcome::Completed);
    EXPECT_EQ(std::filesystem::status(dir / "cipher").permissions(), result);
    EXPECT_EQ(std::filesystem::status(dir / "back").permissions(), result);
  }
  ::umask(savedMask);
}

}  // namespace
}  // namespace lockvale
