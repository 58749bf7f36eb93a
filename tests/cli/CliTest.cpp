#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "TestSupport.h"
#include "cli/CliOptions.h"

extern char** environ;

namespace lockvale {
namespace {

using test::Bytes;

struct Finished {
  int exitCode;  // -1 when killed
  std::string errors;
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(dir / "key", {'s', 'e', 'c', 'r', 'e', 't', '\n', 'x'});
    test::WriteFile(dir / "doc", plain);
  }

  pid_t Start(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), LOCKVALE_CLI_PATH);
    std::vector<char*> argv;
    for (auto& argument : arguments)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT, 0644);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  Finished Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    Bytes errors = test::ReadFile(errorsPath);
    std::filesystem::remove(errorsPath);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            std::string(errors.begin(), errors.end())};
  }

  Finished Cli(const std::vector<std::string>& arguments) { return Wait(Start(arguments)); }

  test::TempDir dir, logs;
  const std::string errorsPath = logs / "stderr";
  const Bytes plain = test::RandomBytes(70'001, 3);
};

TEST_F(CliTest, RoundTripWithDefaultNamesMatchesTheFileFormat) {
  Finished encrypted = Cli({"encrypt", "--key-file", dir / "key", dir / "doc"});
  ASSERT_EQ(encrypted.exitCode, 0) << encrypted.errors;
  // The key is the key file's first line, zero-padded; 128 bits by default.
  Bytes key = {'s', 'e', 'c', 'r', 'e', 't'};
  key.resize(16, 0);
  const Bytes cipher = test::ReadFile(dir / "doc.encr");
  EXPECT_EQ(cipher, test::OpenSslEcb(true, key, 128, test::PadWithLengthByte(plain)));

  std::filesystem::remove(dir / "doc");
  ASSERT_EQ(
      Cli({"decrypt", "--key-file", dir / "key", "--delete-source", dir / "doc.encr"}).exitCode, 0);
  EXPECT_EQ(test::ReadFile(dir / "doc"), plain);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"doc", "key"}));
}

// A key text under which the final block of `cipher` decrypts to a bad length byte:
// a wrong key goes unnoticed once in sixteen, so take one the length byte exposes.
Bytes WrongKeyText(const Bytes& cipher, int bits) {
  const Bytes last(cipher.end() - 16, cipher.end());
  for (std::uint8_t c = 'a';; ++c) {
    Bytes key(32, 0);
    key[0] = c;
    if (test::OpenSslEcb(false, key, bits, last).back() >= 16) return {c};
  }
}

TEST_F(CliTest, RefusalsSayWhyAndTouchNothing) {
  Bytes key = {'s', 'e', 'c', 'r', 'e', 't'};
  key.resize(32, 0);
  const Bytes cipher = test::OpenSslEcb(true, key, 256, test::PadWithLengthByte(plain));
  test::WriteFile(dir / "c", cipher);
  test::WriteFile(dir / "wrong", WrongKeyText(cipher, 256));
  test::WriteFile(dir / "p", {1, 2, 3});
  test::WriteFile(dir / "doc.encr", {7});
  test::WriteFile(dir / "empty-key", {'\n', 'x'});
  ASSERT_EQ(::symlink((dir / "doc").c_str(), (dir / "alias").c_str()), 0);
  const std::pair<std::vector<std::string>, std::string> kCases[] = {
      {{"encrypt", "--key-file", dir / "key", dir / "missing"},
       "Source file does not exist. Please enter a valid source filename"},
      {{"encrypt", "--key-file", dir / "empty-key", dir / "doc"}, "Please enter a security key"},
      {{"encrypt", "--key-file", dir / "key", "-o", dir / "alias", "--overwrite", dir / "doc"},
       "The destination file is the same as the source file. Please enter a different "
       "destination filename"},
      {{"encrypt", "--key-file", dir / "key", dir / "doc"},
       dir / "doc.encr" + " already exists (use --overwrite to replace it)"},
      {{"encrypt", "--key-bits", "160", "--key-file", dir / "key", "-o", dir / "n", dir / "doc"},
       "cEncrypt.SetCipherKey - Illegal KeyBits Value"},
      {{"decrypt", "--key-file", dir / "key", dir / "doc"},
       "Please enter a valid destination filename"},
      {{"decrypt", "--key-file", dir / "key", "-o", dir / "out", dir / "doc.encr"},
       "File Size Error - ciphertext file not a multiple of block size"},
      {{"decrypt", "--key-bits", "256", "--key-file", dir / "wrong", "-o", dir / "p", "--overwrite",
        "--delete-source", dir / "c"},
       "Warning - incorrect length field in decrypted file. Wrong key or keysize?"},
  };
  for (const auto& [arguments, message] : kCases) {
    Finished result = Cli(arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "lockvale-cli: " + message + "\n");
  }
  EXPECT_EQ(Cli({"scramble", dir / "doc"}).exitCode, 2);
  EXPECT_EQ(Cli({"encrypt", dir / "doc"}).exitCode, 2);
  EXPECT_EQ(test::ReadFile(dir / "doc"), plain);
  EXPECT_EQ(test::ReadFile(dir / "doc.encr"), Bytes{7});
  EXPECT_EQ(test::ReadFile(dir / "p"), (Bytes{1, 2, 3}));
  EXPECT_EQ(test::ReadFile(dir / "c"), cipher);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"alias", "c", "doc", "doc.encr", "empty-key",
                                                     "key", "p", "wrong"}));
}

TEST_F(CliTest, KilledMidwayLeavesNoDestination) {
  // A sparse 3 GiB source reads fast but takes long enough to write that the
  // kill lands while the output is unfinished.
  std::ofstream(dir / "big").close();
  std::filesystem::resize_file(dir / "big", 3ull << 30);
  pid_t pid = Start({"encrypt", "--key-file", dir / "key", dir / "big"});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(pid, SIGKILL);
  ASSERT_EQ(Wait(pid).exitCode, -1) << "finished before it could be killed";
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"big", "doc", "key"}));
}

TEST(CliOptions, DefaultDestinations) {
  EXPECT_EQ(DefaultDestination("a/b.txt", Direction::Encrypt), "a/b.txt.encr");
  EXPECT_EQ(DefaultDestination("x.encr.y.encr", Direction::Decrypt), "x.encr.y");
  EXPECT_EQ(DefaultDestination("b.ENCR", Direction::Decrypt), "");
}

}  // namespace
}  // namespace lockvale
