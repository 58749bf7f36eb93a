// lockvale-cli as a process: files, folders, keys, text on standard input and output, statuses
// and messages.
#include <gtest/gtest.h>
#ifdef _WIN32
TEST(Cli, AsItsOwnProcess) {
  GTEST_SKIP() << "these tests start lockvale-cli with fork, exec and a pseudo-terminal, which "
                  "Windows lacks; the cross-checks in tests/cross-build-check run the .exe";
}
#else
#include <pty.h>
#include <termios.h>

#include "CliProcess.h"
#include "core/jobs/ScriptedHost.h"
#include "jobs/TextJob.h"

using namespace lockvale::test;

namespace {

std::string Failed(const std::string& file, const std::string& reason) {
  return "lockvale-cli: " + file + ": " + reason + "\n";
}

Bytes Encrypted(const Bytes& plain, std::string_view key) {
  return OpenSslEcb(true, Key(key), 128, PadWithLengthByte(plain));
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "key", {'s', 'e', 'c', 'r', 'e', 't', '\n', 'x'});
    std::filesystem::permissions(dir / "key", std::filesystem::perms::owner_read);
    WriteFile(dir / "doc", plain);
    setenv("XDG_DATA_HOME", dataHome.Path().c_str(), 1);  // the trash of decrypted sources
  }

  // Standard output is kept in `output`.
  std::string Cli(Strings arguments, Strings environment = {},
                  const std::string& input = "/dev/null") {
    return lockvale::test::Cli(std::move(arguments), {environment, input, false, &output});
  }

  TempDir dir, dataHome;
  std::string output;
  const Bytes plain = RandomBytes(70'001, 3);
};

TEST_F(CliTest, EveryFileIsTriedAndTheStatusTellsTheKindOfFailure) {
  const std::string key = dir / "key", doc = dir / "doc", other = dir / "other";
  WriteFile(other, {1, 2, 3});
  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(Cli({"encrypt", "--key-file", key, doc, dir / "missing", dir / "folder", other}),
            "1 " +
                Failed(dir / "missing",
                       "Source file does not exist. Please enter a valid source filename") +
                Failed(dir / "folder", "is a folder (-r takes the files in it)"));
  EXPECT_EQ((std::vector{ReadFile(doc + ".encr"), ReadFile(other + ".encr")}),
            (std::vector{Encrypted(plain, "secret"), Encrypted({1, 2, 3}, "secret")}));
  EXPECT_EQ(Cli({"encrypt", "--key-file", key, doc}),
            "1 " + Failed(doc, doc + ".encr already exists (--overwrite replaces it)"));

  // A ragged ciphertext in the middle: decryption failures alone give 3, and a failed file
  // keeps its source while the others are done and theirs deleted.
  std::filesystem::remove(doc);
  std::filesystem::remove(other);
  WriteFile(dir / "ragged.encr", {7});
  EXPECT_EQ(Cli({"decrypt", "--delete-source", "--key-file", key, doc + ".encr",
                 dir / "ragged.encr", other + ".encr"}),
            "3 " + Failed(dir / "ragged.encr",
                          "File Size Error - ciphertext file not a multiple of block size"));
  EXPECT_EQ(ReadFile(doc), plain);
  EXPECT_EQ(dir.Entries(), (Names{"doc", "folder", "key", "other", "ragged.encr"}));
  EXPECT_EQ(ReadFile(dataHome / "Trash/files/doc.encr"), Encrypted(plain, "secret"));

  // A wrong key fails once the whole file went through; mixed with names that have no ".encr"
  // (a folder's does not count) it gives 1, and neither the file nor its ciphertext changes.
  WriteFile(doc + ".encr", Encrypted(plain, "secret"));
  std::filesystem::create_directory(dir / "store.encr");
  WriteFile(dir / "store.encr/data", Encrypted(plain, "secret"));
  const std::string noName =
      "the name has no \".encr\" or \".lkv\" to cut the decrypted file's name at (-o gives one)";
  EXPECT_EQ(
      Cli({"decrypt", "--overwrite", "--delete-source", doc + ".encr", other,
           dir / "store.encr/data"},
          {"LOCKVALE_KEY=" + WrongKey(Encrypted(plain, "secret"), 128, 16)}),
      "1 " +
          Failed(doc + ".encr",
                 "Warning - incorrect length field in decrypted file. Wrong key or keysize?") +
          Failed(other, noName) + Failed(dir / "store.encr/data", noName));
  EXPECT_EQ((std::vector{ReadFile(doc), ReadFile(doc + ".encr")}),
            (std::vector{plain, Encrypted(plain, "secret")}));
  // One wrong key in sixteen passes the length byte: the ciphertext goes to the trash, not away.
  EXPECT_EQ(Cli({"decrypt", "--overwrite", "--delete-source", doc + ".encr"},
                {"LOCKVALE_KEY=" + WrongKey(Encrypted(plain, "secret"), 128, 5)}),
            "0 ");
  EXPECT_EQ(ReadFile(dataHome / "Trash/files/doc.encr.2"), Encrypted(plain, "secret"));
}

// Sealed files, written with --format or LOCKVALE_FORMAT, open by their content through files or
// pipes ("-") and are verified completely; a refusal gives 3 and creates nothing, and a decrypted
// sealed source is deleted, not put in the trash. An encrypted file is verified by its length
// byte.
TEST_F(CliTest, SealedFilesThroughFilesAndPipesAndVerified) {
  const std::string doc = dir / "doc";
  const std::string sound = ": sound: the key is right and every chunk is as it was written\n";
  const Strings key = {"LOCKVALE_KEY=secret"}, sealing = {key[0], "LOCKVALE_FORMAT=lkv"};
  ASSERT_EQ(Cli({"encrypt", "--kdf-passes=1", "--kdf-memory=64", doc}, sealing), "0 ");
  Bytes sealed = ReadFile(doc + ".lkv");
  EXPECT_EQ(sealed.size(), 88 + plain.size() + 2 * 16);
  EXPECT_EQ(Bytes(&sealed[12], &sealed[20]), (Bytes{1, 0, 0, 0, 0, 0, 1, 0}));  // t 1, m 64 MiB
  ASSERT_EQ(Cli({"decrypt", "-o", "-", doc + ".lkv"}, key), "0 ");
  EXPECT_EQ(output, Text(plain));
  ASSERT_EQ(Cli({"encrypt", "--format", "lkv", "--kdf-memory", "64", "-", "-o", "-"}, key, doc),
            "0 ");
  WriteFile(dir / "piped", Bytes(output.begin(), output.end()));
  EXPECT_EQ(Cli({"decrypt", "-", "-o", dir / "back"}, key, dir / "piped"), "0 ");
  EXPECT_EQ(ReadFile(dir / "back"), plain);
  WriteFile(doc + ".encr", Encrypted(plain, "secret"));
  EXPECT_EQ(Cli({"verify", doc + ".lkv", doc + ".encr", "-"}, key, dir / "piped"), "0 ");
  EXPECT_EQ(output,
            doc + ".lkv" + sound + doc +
                ".encr: the length byte fits, a weak check: one wrong key in sixteen "
                "passes it, and damage goes unseen (an encrypted file, not a sealed one)\n" +
                "standard input" + sound);

  sealed[88 + 65'536 + 16 + 5] ^= 1;
  WriteFile(dir / "damaged.lkv", sealed);
  EXPECT_EQ(
      Cli({"decrypt", "--delete-source", dir / "damaged.lkv"}, key),
      "3 " + Failed(dir / "damaged.lkv", "The file is damaged or was changed at byte 65640."));
  EXPECT_EQ(Cli({"verify", dir / "damaged.lkv", "-"}, {"LOCKVALE_KEY=wrong"}, dir / "piped"),
            "3 " + Failed(dir / "damaged.lkv", "Wrong key, or the file's header is damaged.") +
                Failed("standard input", "Wrong key, or the file's header is damaged."));
  EXPECT_EQ(Cli({"decrypt", "--overwrite", "--delete-source", doc + ".lkv"}, key), "0 ");
  EXPECT_EQ(ReadFile(doc), plain);
#ifndef LOCKVALE_TEST_UNDER_SANITIZER  // its shadow memory needs the address space
  // A derivation whose memory cannot be had says so, and leaves nothing (the folder is checked
  // below).
  EXPECT_EQ(lockvale::test::Cli({"encrypt", "--format=lkv", "--kdf-memory=2048", doc},
                                {key, "/dev/null", false, nullptr, rlim_t{1} << 30}),
            "1 " + Failed(doc, "Cannot derive the key: Cannot allocate memory"));
#endif
  EXPECT_EQ(dir.Entries(), (Names{"back", "damaged.lkv", "doc", "doc.encr", "key", "piped"}));
  EXPECT_FALSE(std::filesystem::exists(dataHome / "Trash"));
}

// Names are taken as they are: "a*" + the victim's folder once read as a path outside the tree.
TEST_F(CliTest, RecursiveWalksTheTreeAndDecryptTakesOnlyEncrNames) {
  const std::string tree = dir / "tree", low = "sub/deeper/-low?\n\t\xff", decoy = "a*" + dir / "v";
  std::filesystem::create_directories(tree + "/sub/deeper");
  std::filesystem::create_directories(tree + "/" + decoy);
  WriteFile(tree + "/top", {1});
  WriteFile(tree + "/" + low, plain);
  WriteFile(tree + "/" + decoy + "/file", {3});
  std::filesystem::create_directory(dir / "v");
  WriteFile(dir / "v/file", {4});
  ASSERT_EQ(Cli({"encrypt", "-r", "--delete-source", "--key-file", dir / "key", tree}), "0 ");
  EXPECT_EQ(ReadFile(tree + "/" + low + ".encr"), Encrypted(plain, "secret"));
  WriteFile(tree + "/sub/notes.enc", {2});
  ASSERT_EQ(Cli({"decrypt", "--recursive", "--key-file", dir / "key", tree + "/"}), "0 ");
  Names files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(tree))
    if (entry.is_regular_file()) files.push_back(entry.path().lexically_relative(tree));
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (Names{decoy + "/file", decoy + "/file.encr", low, low + ".encr",
                          "sub/notes.enc", "top", "top.encr"}));
  EXPECT_EQ(std::tuple(ReadFile(tree + "/" + low), ReadFile(dir / "v/file")),
            std::tuple(plain, Bytes{4}));
}

TEST_F(CliTest, KeysComeFromTheKeyFileOrTheEnvironmentThroughTheCodePage) {
  // "Grüße", typed in UTF-8, is the bytes 47 72 FC DF 65 in windows-1252.
  const Strings western = {"LOCKVALE_KEY=Gr\u00FC\u00DFe", "LOCKVALE_CODEPAGE=windows-1252"};
  EXPECT_EQ(
      (Strings{Cli({"encrypt", "--key-file", dir / "key", "-o", dir / "by-file", dir / "doc"},
                   {"LOCKVALE_KEY=not this"}),
               Cli({"encrypt", "-o", dir / "by-environment", dir / "doc"}, {"LOCKVALE_KEY=secret"}),
               Cli({"encrypt", "-o", dir / "g.encr", dir / "doc"}, western),
               Cli({"decrypt", "-o", dir / "back", dir / "g.encr"}, western),
               Cli({"decrypt", "-o", dir / "utf-8", dir / "g.encr"}, {western[0]}).substr(0, 2)}),
      (Strings{"0 ", "0 ", "0 ", "0 ", "3 "}));
  EXPECT_EQ((std::vector{ReadFile(dir / "by-file"), ReadFile(dir / "by-environment"),
                         ReadFile(dir / "g.encr"), ReadFile(dir / "back")}),
            (std::vector{Encrypted(plain, "secret"), Encrypted(plain, "secret"),
                         Encrypted(plain, "\x47\x72\xFC\xDF\x65"), plain}));

  EXPECT_EQ(Cli({"encrypt", "-o", dir / "n", dir / "doc"}),
            "2 lockvale-cli: no key: give --key-file KEYFILE, set LOCKVALE_KEY, or run on a "
            "terminal\n");

  // Encrypting refuses a key or text with characters the code page cannot hold; decrypting
  // converts as before. A key file's byte-order mark is skipped; others may read it, with a
  // warning.
  WriteFile(dir / "q.encr", Encrypted(plain, "pass?word"));
  WriteFile(dir / "binary", {0x9C, 0xFF, 's'});
  WriteFile(dir / "marked", {0xEF, 0xBB, 0xBF, 's', 'e', 'c', 'r', 'e', 't'});
  WriteFile(dir / "stars", {0xE2, 0x98, 0x85, 0xE2, 0x98, 0x85});
  std::filesystem::permissions(dir / "binary", std::filesystem::perms(0600));
  std::filesystem::permissions(dir / "marked", std::filesystem::perms(0604));
  const std::string cannot =
      " that the code page windows-1252 cannot hold (each would be encrypted as \"?\"); nothing "
      "done\n";
  const struct {
    std::string key, result;
    Strings arguments;
  } kCodePageCases[] = {
      {"pass\u2713word",
       "2 lockvale-cli: the key holds 1 character" + cannot,
       {"encrypt", "-o", dir / "n", dir / "doc"}},
      {"k", "2 lockvale-cli: the text holds 2 characters" + cannot, {"text", "encrypt"}},
      {"k",
       "2 lockvale-cli: the key holds 2 characters" + cannot,
       {"encrypt", "--key-file", dir / "binary", "-o", dir / "n", dir / "doc"}},
      {"pass\u2605word", "0 ", {"decrypt", "-o", dir / "q", dir / "q.encr"}},
      {"k",
       "0 lockvale-cli: warning: " + dir / "marked" + " can be read by others\n",
       {"encrypt", "--key-file", dir / "marked", "-o", dir / "m.encr", dir / "doc"}}};
  for (const auto& [key, result, arguments] : kCodePageCases)
    EXPECT_EQ(Cli(arguments, {"LOCKVALE_KEY=" + key, western[1]}, dir / "stars"), result) << key;
  EXPECT_EQ((std::vector{ReadFile(dir / "q"), ReadFile(dir / "m.encr")}),
            (std::vector{plain, Encrypted(plain, "secret")}));
  EXPECT_FALSE(std::filesystem::exists(dir / "n"));
}

// Text from standard input as the window's text box gives it, line breaks as CR LF.
TEST_F(CliTest, TextThroughPipesMatchesTheWindowsTextJob) {
  const std::string text = "Zeile\nGr\u00FC\u00DFe\r\nend\n";
  WriteFile(dir / "text", Bytes(text.begin(), text.end()));
  ASSERT_EQ(Cli({"text", "encrypt", "--key-file", dir / "key"}, {}, dir / "text"), "0 ");
  const std::string digits = output;
  ScriptedHost window;
  window.boxes.Queue("Y");
  JobRequest request;
  request.mode = JobMode::Text;
  request.text = "Zeile\r\nGr\u00FC\u00DFe\r\nend\r\n";
  request.keyText = SecretText("secret");
  TextJob(request, window).Run();
  EXPECT_EQ(digits, window.shown + "\n");

  const std::pair<std::string, std::string> kDecryptions[] = {
      {"00 11", "3 " + Failed("standard input", "Ciphertext size not a multiple of block size")},
      {"xyz", "1 " + Failed("standard input", "Text not Hex data")},
      {digits, "0 "}};
  for (const auto& [input, result] : kDecryptions) {
    WriteFile(dir / "in", Bytes(input.begin(), input.end()));
    EXPECT_EQ(Cli({"text", "decrypt"}, {"LOCKVALE_KEY=secret"}, dir / "in"), result);
  }
  EXPECT_EQ(output, "Zeile\nGr\u00FC\u00DFe\nend\n");
}

TEST_F(CliTest, VersionHelpAndUsageErrors) {
  EXPECT_EQ(Cli({"--version"}) + output, "0 lockvale-cli 1.05\n");
  EXPECT_EQ(Cli({"encrypt", "--help"}), "0 ");
  EXPECT_NE(output.find("  3  every failure was ciphertext that did not decrypt"),
            std::string::npos);
  const Strings kUsageErrors[] = {{},
                                  {"encrypt", "--key-bits", "160", dir / "doc"},
                                  {"encrypt", "--shred", dir / "doc"},
                                  {"encrypt", "-o", dir / "n", dir / "doc", dir / "key"},
                                  {"encrypt", "-r", "-o", dir / "n", dir.Path()},
                                  {"text", "encrypt", dir / "doc"},
                                  {"encrypt", "--key-file", dir / "nowhere", dir / "doc"},
                                  {"encrypt", "--format=lkv", "--kdf-memory=63", dir / "doc"},
                                  {"encrypt", "--kdf-passes=2", dir / "doc"},
                                  {"encrypt", "-", "-o", "-"},
                                  {"decrypt", "-"}};
  for (const auto& arguments : kUsageErrors)
    EXPECT_EQ(Cli(arguments, {"LOCKVALE_KEY=k"}).substr(0, 2), "2 ")
        << testing::PrintToString(arguments);
  EXPECT_EQ(dir.Entries(), (Names{"doc", "key"}));
}

// A terminal for the tool: the parent holds the other end and types.
class Terminal {
 public:
  explicit Terminal(Strings arguments) {
    const std::vector<char*> argv = Argv(arguments);
    if ((pid_ = forkpty(&master_, nullptr, nullptr, nullptr)) != 0) return;
    execv(argv[0], argv.data());
    _exit(127);
  }
  ~Terminal() { close(master_); }

  // What the tool showed until `text`, or until it ended.
  std::string ReadUntil(std::string_view text = "\x01 never shown") {
    std::string seen;
    char c = 0;
    while (!seen.ends_with(text) && read(master_, &c, 1) == 1)
      seen += c;
    return seen;
  }
  void Type(std::string_view text) {
    ASSERT_EQ(write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  bool Echoing() const {
    termios modes{};
    return tcgetattr(master_, &modes) == 0 && (modes.c_lflag & ECHO) != 0;
  }
  std::string Status() const { return lockvale::test::Status(pid_); }

 private:
  int master_ = -1;
  pid_t pid_ = -1;
};

TEST_F(CliTest, KeyTypedOnTheTerminalIsHiddenAndAskedTwice) {
  for (const std::string repeated : {"secret!\n", "secret\n"}) {
    Terminal terminal({"encrypt", "-o", dir / "typed", dir / "doc"});
    terminal.ReadUntil("Key: ");
    EXPECT_FALSE(terminal.Echoing());
    terminal.Type("secret\n");
    terminal.ReadUntil("Repeat key: ");
    terminal.Type(repeated);
    const std::string shown = terminal.ReadUntil();
    EXPECT_EQ(shown.find("secret"), std::string::npos) << shown;
    EXPECT_EQ(terminal.Status(), repeated == "secret\n" ? "0" : "2") << shown;
  }
  EXPECT_EQ(ReadFile(dir / "typed"), Encrypted(plain, "secret"));
}

}  // namespace
#endif
