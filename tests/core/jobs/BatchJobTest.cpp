// The batch job over a plain list of rows: its questions, settling reused sources, and rows
// that fail or are passed over.
#include "jobs/BatchJob.h"

#include <gtest/gtest.h>

#include <cctype>
#include <system_error>

#include "ScriptedHost.h"
#include "TestSupport.h"
#include "jobs/JobSteps.h"

using namespace lockvale::test;

static MessageRequest Confirm(const std::string& verb) {
  return QuestionBox("Are you sure you wish to " + verb + " these files?", "Encrypt");
}

// The question about entry `s`, which deletes a source that entry `y` reads again.
static MessageRequest Ask(int s, int y) {
  const std::string a = std::to_string(s), b = std::to_string(y);
  return QuestionBox("At entry " + a +
                         ", you have chosen to remove the source file. However, at entry " + b +
                         " you want to use the source file again. Select yes to keep the source "
                         "file at entry " +
                         a + " or no to remove the entry at line " + b + ".",
                     "Source", NoticeIcon::Information);
}

static MessageRequest FailedRows(const std::string& count) {
  return {count + " files failed. The failed rows are shown in red; point at one to see why.",
          "Status", MessageButtons::Ok, NoticeIcon::Exclamation};
}

// Files a, b and c of 100 bytes in a fresh folder, and a list of rows naming files in it.
struct Batch {
  Batch() {
    for (const char* name : {"a", "b", "c"})
      WriteFile(dir / name, Bytes(100, name[0]));
  }
  void Add(const std::string& source, const std::string& destination, bool overwrite = false,
           bool deleteSource = false) {
    rows.push_back({dir / source, dir / destination, overwrite, deleteSource});
  }
  // The messages shown; the questions get the answers, Y, N or C each, and no more.
  Requests Run(Direction direction, std::string_view answers, std::string_view key = "k",
               Format format = Format::Encr) {
    JobRequest request;
    request.direction = direction;
    request.keyText = SecretText(key);
    request.keyBits = 256;
    request.format = format;
    request.kdf = {1, 8, 1};
    host.boxes.Queue(answers);
    BatchJob(request, host).Run();
    EXPECT_EQ(host.boxes.unscripted, 0);
    return host.boxes.TakeAsked();
  }

  TempDir dir;
  ScriptedHost host;
  std::vector<BatchEntry>& rows = host.list.rows;
};

// Before each entry of an encryption, every row that reads a source an earlier row deletes is
// asked about: Yes keeps the source, No removes the later row, Cancel ends the run.
TEST(BatchJob, ReusedSourcesAreSettledBeforeEachEntry) {
  // Each row is a letter: its source, upper case when the row deletes it; rows write x1, x2...
  // Then the answers after the confirmation, the messages, the files left and the rows' delete
  // flags after the run.
  const auto go = Confirm("encrypt"), done = NoticeBox("Encrypt Finished", "Status");
  const std::tuple<std::string, std::string, Requests, Names, std::string> cases[] = {
      {"Aa", "Y", {go, Ask(1, 2), done}, {"a", "b", "c", "x1", "x2"}, "NN"},
      {"Aa", "N", {go, Ask(1, 2), done}, {"b", "c", "x1"}, "Y"},
      {"AAa", "YY", {go, Ask(1, 2), Ask(2, 3), done}, {"a", "b", "c", "x1", "x2", "x3"}, "NNN"},
      // The row that moves up is asked about before any entry runs, even the one that deletes.
      {"bAaa", "NY", {go, Ask(2, 3), Ask(2, 3), done}, {"a", "b", "c", "x1", "x2", "x4"}, "NNN"},
      {"Aaa", "NY", {go, Ask(1, 2), Ask(1, 2), done}, {"a", "b", "c", "x1", "x3"}, "NN"},
      {"Aa", "C", {go, Ask(1, 2)}, {"a", "b", "c"}, "YN"}};
  for (const auto& [letters, answers, messages, left, flags] : cases) {
    Batch b;
    for (std::size_t i = 0; i < letters.size(); ++i) {
      const char source = static_cast<char>(std::tolower(letters[i]));
      b.Add(std::string(1, source), {'x', static_cast<char>('1' + i)}, false, source != letters[i]);
    }
    EXPECT_EQ(b.Run(Direction::Encrypt, "Y" + answers), messages) << letters;
    EXPECT_EQ(b.dir.Entries(), left) << letters;
    std::string flagsAfter;
    for (const BatchEntry& row : b.rows)
      flagsAfter += row.deleteSource ? 'Y' : 'N';
    EXPECT_EQ(flagsAfter, flags) << letters;
  }
  // Decrypting never asks; another spelling of a path is another source, so the first row
  // deletes it and the second finds nothing to read.
  Batch b;
  b.Add("a", "x1", false, true);
  b.Add("a", "x2");
  const auto size =
      NoticeBox("File Size Error - ciphertext file not a multiple of block size", "Size");
  EXPECT_EQ(b.Run(Direction::Decrypt, "Y"),
            (Requests{Confirm("decrypt"), size, size, FailedRows("2 of 2")}));
  b.rows[1].source = b.dir / "./a";
  EXPECT_THROW(b.Run(Direction::Encrypt, "Y"), std::system_error);
}

// An empty list, a declined run and an empty key touch nothing. A row that fails is marked with
// the reason and keeps its source; the others are done, or passed over when they have no source
// or destination or must not replace one.
TEST(BatchJob, RefusedRunsTouchNothingFailingRowsAreMarkedAndTheOthersDone) {
  Batch b;
  EXPECT_EQ(b.Run(Direction::Encrypt, ""),
            Requests{NoticeBox("You have not added any files to encrypt.", "Encrypt")});
  EXPECT_EQ(b.Run(Direction::Decrypt, ""),
            Requests{NoticeBox("You have not added any files to decrypt.", "Encrypt")});
  b.Add("a", "a.encr", false, true);
  b.Add("a", "a2.encr");
  EXPECT_EQ(b.Run(Direction::Encrypt, "N"), Requests{Confirm("encrypt")});
  EXPECT_EQ(b.Run(Direction::Encrypt, "YY", ""),
            (Requests{Confirm("encrypt"), Ask(1, 2),
                      NoticeBox("Please enter a security key", "Security Key")}));
  EXPECT_EQ(b.dir.Entries(), (Names{"a", "b", "c"}));
  EXPECT_TRUE(b.host.statuses.empty());
  b.rows.clear();
  b.Add("a", "a.encr");
  b.Add("b", "b.encr", false, true);
  b.rows.push_back({"/proc/self/mem", b.dir / "mem", false, true});  // cannot be read
  b.Add("c", "c.encr", false, true);  // read-only: done, but its source stays
  std::filesystem::permissions(b.dir / "c", std::filesystem::perms::owner_read);
  EXPECT_EQ(b.Run(Direction::Encrypt, "Y").back(), FailedRows("2 of 4"));
  EXPECT_EQ(b.host.list.failed, (Names{"", "", "Cannot read /proc/self/mem: Input/output error",
                                       "The source file " + b.dir / "c" +
                                           " could not be deleted: the file is read-only"}));
  EXPECT_EQ(ReadFile(b.dir / "a.encr"),
            OpenSslEcb(true, Key("k"), 256, PadWithLengthByte(Bytes(100, 'a'))));
  WriteFile(b.dir / "bad.encr", Bytes(32, 7));  // decrypts to a bad length byte
  WriteFile(b.dir / "a", {'o', 'l', 'd'});
  b.rows.clear();
  b.Add("a.encr", "a");  // no overwrite: passed over, "old" kept
  b.Add("bad.encr", "bad", true, true);
  b.rows.push_back({"", b.dir / "x"});             // no source
  b.rows.push_back({b.dir / "c.encr", "", true});  // no destination
  b.Add("b.encr", "b", true, true);
  b.Add("c.encr", "c.encr", true);  // its own source
  b.Add("c.encr", "c2", true);
  EXPECT_EQ(b.Run(Direction::Decrypt, "Y"),
            (Requests{Confirm("decrypt"),
                      NoticeBox("Warning - incorrect length field in decrypted file.\r\nWrong key "
                                "or keysize?",
                                "Error"),
                      FailedRows("2 of 7")}));
  EXPECT_EQ(b.host.statuses.back(), "Error");
  EXPECT_EQ(b.host.trashed, Names{b.dir / "b.encr"});  // a decrypted source is never deleted
  EXPECT_EQ(b.dir.Entries(), (Names{"a", "a.encr", "b", "bad.encr", "c", "c.encr", "c2"}));
  EXPECT_EQ(ReadFile(b.dir / "a"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(ReadFile(b.dir / "b"), Bytes(100, 'b'));
  EXPECT_EQ(b.host.list.failed,
            (Names{"", "Wrong key or key size, or not an encrypted file", "", "", "",
                   "The destination file is the same as the source file", ""}));

  // A missing source ends the run for the error reporter; the rows after it are not done.
  b.rows.clear();
  b.Add("missing", "m.encr");
  b.Add("a", "a.new");
  EXPECT_THROW(b.Run(Direction::Encrypt, "Y"), std::system_error);
  EXPECT_FALSE(std::filesystem::exists(b.dir / "a.new"));
}

// A sealed run: one salt for all its files and a nonce for each. A sealed file opens by its
// content whatever its name; a wrong key is refused by its header and marked with the reason, and
// with the right key the sources go for good rather than to the trash.
TEST(BatchJob, SealedFilesShareTheRunsSaltAndTheirSourcesAreDeleted) {
  Batch b;
  b.Add("a", "a.lkv", false, true);
  b.Add("b", "renamed", false, true);
  b.Run(Direction::Encrypt, "Y", "k", Format::Lkv);
  const Bytes a = ReadFile(b.dir / "a.lkv"), renamed = ReadFile(b.dir / "renamed");
  EXPECT_TRUE(std::equal(&a[24], &a[40], &renamed[24]) &&
              !std::equal(&a[40], &a[56], &renamed[40]));
  b.rows = {{b.dir / "a.lkv", b.dir / "a", false, true},
            {b.dir / "renamed", b.dir / "b", false, true}};
  const auto wrongKey = NoticeBox("Wrong key, or the file's header is damaged.", "Error");
  EXPECT_EQ(b.Run(Direction::Decrypt, "Y", "x"),
            (Requests{Confirm("decrypt"), wrongKey, wrongKey, FailedRows("2 of 2")}));
  EXPECT_EQ(b.host.list.failed, (Names{wrongKey.text, wrongKey.text}));
  EXPECT_EQ(b.dir.Entries(), (Names{"a.lkv", "c", "renamed"}));
  b.Run(Direction::Decrypt, "Y");
  EXPECT_EQ(b.dir.Entries(), (Names{"a", "b", "c"}));
  EXPECT_TRUE(ReadFile(b.dir / "b") == Bytes(100, 'b') && b.host.trashed.empty());
  EXPECT_EQ(std::ranges::count(b.host.statuses, kDerivingStatus), 3);  // once a run
}
