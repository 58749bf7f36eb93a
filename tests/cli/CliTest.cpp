#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "TestSupport.h"
#include "cli/CliOptions.h"

using namespace lockvale::test;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "key", {'s', 'e', 'c', 'r', 'e', 't', '\n', 'x'});
    WriteFile(dir / "doc", plain);
  }

  pid_t Start(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), LOCKVALE_CLI_PATH);
    std::vector<char*> argv;
    for (auto& argument : arguments)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    // The test process has no other threads here, so the child may allocate before exec.
    const pid_t pid = fork();
    if (pid == 0 && std::freopen(errorsPath.c_str(), "w", stderr)) execv(argv[0], argv.data());
    if (pid == 0) _exit(127);
    return pid;
  }

  // The exit status, -1 when killed, and after a blank what the tool wrote to standard error.
  std::string Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    const Bytes errors = ReadFile(errorsPath);
    return std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + " " +
           std::string(errors.begin(), errors.end());
  }
  std::string Cli(const std::vector<std::string>& arguments) { return Wait(Start(arguments)); }

  TempDir dir, logs;
  const std::string errorsPath = logs / "stderr";
  const Bytes plain = RandomBytes(70'001, 3);
};

TEST_F(CliTest, RoundTripWithDefaultNamesMatchesTheFileFormatAndRefusalsSayWhy) {
  ASSERT_EQ(Cli({"encrypt", "--key-file", dir / "key", dir / "doc"}), "0 ");
  // The key is the key file's first line, zero-padded; 128 bits by default.
  EXPECT_EQ(ReadFile(dir / "doc.encr"),
            OpenSslEcb(true, Key("secret"), 128, PadWithLengthByte(plain)));

  std::filesystem::remove(dir / "doc");
  ASSERT_EQ(Cli({"decrypt", "--key-file", dir / "key", "--delete-source", dir / "doc.encr"}), "0 ");
  EXPECT_EQ(ReadFile(dir / "doc"), plain);
  EXPECT_EQ(dir.Entries(), (Names{"doc", "key"}));

  // The checks the window makes come from one place, tested with the window's job; here,
  // that the tool makes them, and its own refusals.
  const Bytes cipher = OpenSslEcb(true, Key("secret"), 256, PadWithLengthByte(plain));
  const std::string wrongKey = WrongKey(cipher, 256, 16);
  WriteFile(dir / "c", cipher);
  WriteFile(dir / "wrong", Bytes(wrongKey.begin(), wrongKey.end()));
  WriteFile(dir / "p", {1, 2, 3});
  WriteFile(dir / "doc.encr", {7});
  WriteFile(dir / "empty-key", {'\n', 'x'});
  const std::pair<std::vector<std::string>, std::string> kCases[] = {
      {{"encrypt", "--key-file", dir / "empty-key", dir / "doc"}, "Please enter a security key"},
      {{"encrypt", "--key-file", dir / "key", dir / "doc"},
       dir / "doc.encr" + " already exists (use --overwrite to replace it)"},
      {{"encrypt", "--key-bits", "160", "--key-file", dir / "key", "-o", dir / "n", dir / "doc"},
       "cEncrypt.SetCipherKey - Illegal KeyBits Value"},
      {{"decrypt", "--key-file", dir / "key", dir / "doc"},
       "Please enter a valid destination filename"},
      {{"decrypt", "--key-bits", "256", "--key-file", dir / "wrong", "-o", dir / "p", "--overwrite",
        "--delete-source", dir / "c"},
       "Warning - incorrect length field in decrypted file. Wrong key or keysize?"},
  };
  for (const auto& [arguments, message] : kCases)
    EXPECT_EQ(Cli(arguments), "1 lockvale-cli: " + message + "\n");
  EXPECT_EQ(Cli({"scramble", dir / "doc"}).substr(0, 2), "2 ");
  EXPECT_EQ(Cli({"encrypt", dir / "doc"}).substr(0, 2), "2 ");
  EXPECT_EQ(ReadFile(dir / "doc"), plain);
  EXPECT_EQ(ReadFile(dir / "doc.encr"), Bytes{7});
  EXPECT_EQ(ReadFile(dir / "p"), (Bytes{1, 2, 3}));
  EXPECT_EQ(ReadFile(dir / "c"), cipher);
  EXPECT_EQ(dir.Entries(), (Names{"c", "doc", "doc.encr", "empty-key", "key", "p", "wrong"}));
}

TEST_F(CliTest, KilledMidwayLeavesNoDestination) {
  // A sparse 3 GiB source reads fast but takes long enough to write that the
  // kill lands while the output is unfinished.
  std::ofstream(dir / "big").close();
  std::filesystem::resize_file(dir / "big", 3ull << 30);
  const pid_t pid = Start({"encrypt", "--key-file", dir / "key", dir / "big"});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(pid, SIGKILL);
  ASSERT_EQ(Wait(pid).substr(0, 3), "-1 ") << "finished before it could be killed";
  EXPECT_EQ(dir.Entries(), (Names{"big", "doc", "key"}));
}

// Encrypting adds ".encr", as the round trip shows; decrypting cuts before the last one.
TEST(CliOptions, DefaultDestinations) {
  EXPECT_EQ(DefaultDestination("x.encr.y.encr", Direction::Decrypt), "x.encr.y");
  EXPECT_EQ(DefaultDestination("b.ENCR", Direction::Decrypt), "");
}
