// The single-file job through a scripted front end: checks, questions, results.
#include "jobs/SingleFileJob.h"

#include <gtest/gtest.h>

#include "ScriptedHost.h"
#include "TestSupport.h"

using namespace lockvale::test;

static MessageRequest Confirm(const std::string& verb) {
  return QuestionBox("Are you sure you wish to " + verb + " this file?", "Encrypt");
}

// Incomplete inputs are refused in order and touch nothing. Only Yes goes on; an existing
// destination, read-only or hidden too, is replaced when the user agrees or the overwrite
// option is on. Ciphertext of a ragged size is refused before anything is created, so even a
// missing destination folder gets the size message rather than an error report.
TEST(SingleFileJob, RefusalsQuestionsAndReplacements) {
  TempDir dir;
  ScriptedHost host;
  JobRequest request;  // the options as the test sets them
  // The messages shown; names are in the folder, and the questions get the answers.
  auto Run = [&](const std::string& source, const std::string& destination,
                 std::string_view answers, Direction direction = Direction::Encrypt,
                 std::string_view key = "key") {
    request.direction = direction;
    request.source = source.empty() ? source : dir / source;
    request.destination = destination.empty() ? destination : dir / destination;
    request.keyText = SecretText(key);
    host.boxes.Queue(answers);
    SingleFileJob(request, host).Run();
    EXPECT_EQ(host.boxes.unscripted, 0);
    return host.boxes.TakeAsked();
  };
  auto Overwrite = [&](const std::string& name) {
    return QuestionBox(dir / name + " already exists. Do you wish to overwrite it?", "Lockvale",
                       NoticeIcon::Information);
  };
  const MessageRequest finished = NoticeBox("Encrypt Finished", "Status");
  WriteFile(dir / "a.txt", {1, 2, 3});
  std::filesystem::create_directory(dir.Path() / "folder");
  const std::string missing = "Source file does not exist. Please enter a valid source filename";
  const std::tuple<std::string, std::string, std::string, MessageRequest> kCases[] = {
      {"", "b", "k", NoticeBox("Please enter a valid source filename", "Source filename")},
      {"missing", "", "", NoticeBox(missing, "Source filename")},
      {"folder", "b", "k", NoticeBox(missing, "Source filename")},
      {"a.txt", "", "",
       NoticeBox("Please enter a valid destination filename", "Destination filename")},
      {"a.txt", "b", "", NoticeBox("Please enter a security key", "Security Key")},
      {"a.txt", "./a.txt", "k",
       NoticeBox("The destination file is the same as the source file. Please enter a "
                 "different destination filename",
                 "Destination filename")},
  };
  for (const auto& [source, destination, key, refusal] : kCases)
    EXPECT_EQ(Run(source, destination, "", Direction::Encrypt, key), Requests{refusal}) << source;
  ::setenv("LOCKVALE_CODEPAGE", "windows-1252", 1);  // which cannot hold the key's Ω
  const Requests lossAsked = Run("a.txt", "b", "YN", Direction::Encrypt, "Ωmega");
  ::unsetenv("LOCKVALE_CODEPAGE");
  EXPECT_TRUE(lossAsked.size() == 2 && lossAsked[1].title == "Code Page");
  EXPECT_TRUE(host.statuses.empty());
  EXPECT_EQ(ReadFile(dir / "a.txt"), (Bytes{1, 2, 3}));
  EXPECT_EQ(dir.Entries(), (Names{"a.txt", "folder"}));

  WriteFile(dir / "a.txt", Bytes(99, 7));
  for (const char* name : {"readonly.encr", ".hidden.encr"}) {
    WriteFile(dir / name, {'o', 'l', 'd'});
    std::filesystem::permissions(dir / name, std::filesystem::perms::owner_read);
  }
  for (const std::string answer : {"N", "C"}) {
    EXPECT_EQ(Run("a.txt", "readonly.encr", answer), Requests{Confirm("encrypt")});
    EXPECT_EQ(Run("a.txt", "readonly.encr", "Y" + answer),
              (Requests{Confirm("encrypt"), Overwrite("readonly.encr")}));
  }
  EXPECT_EQ(ReadFile(dir / "readonly.encr"), (Bytes{'o', 'l', 'd'}));
  // The bar is set before the overwrite question, and then left.
  EXPECT_TRUE(host.progressMaximum == 100 && !host.progressFilled && host.statuses.empty());

  for (const char* name : {"readonly.encr", ".hidden.encr"}) {
    EXPECT_EQ(Run("a.txt", name, "YY"), (Requests{Confirm("encrypt"), Overwrite(name), finished}));
    EXPECT_EQ(ReadFile(dir / name).size(), 112u);
  }
  request.overwrite = true;
  EXPECT_EQ(Run("a.txt", "readonly.encr", "Y"), (Requests{Confirm("encrypt"), finished}));
  // A source that cannot be deleted is named after the job has finished.
  request.deleteSource = true;
  std::filesystem::permissions(dir / "a.txt", std::filesystem::perms::owner_read);
  EXPECT_EQ(Run("a.txt", "readonly.encr", "Y"),
            (Requests{Confirm("encrypt"),
                      finished,
                      {"The source file " + dir / "a.txt" +
                           " could not be deleted: the file is read-only",
                       "Delete Source File", MessageButtons::Ok, NoticeIcon::Exclamation}}));

  WriteFile(dir / "bad.encr", Bytes(17, 1));
  WriteFile(dir / "bad", {'k', 'e', 'e', 'p'});
  request.overwrite = request.deleteSource = true;
  for (const char* destination : {"bad", "missing-folder/bad"}) {
    EXPECT_EQ(Run("bad.encr", destination, "Y", Direction::Decrypt),
              (Requests{Confirm("decrypt"),
                        NoticeBox("File Size Error - ciphertext file not a multiple of block size",
                                  "Size")}));
    EXPECT_EQ(host.statuses.back(), "Error");
    EXPECT_FALSE(host.progressFilled);
  }
  EXPECT_EQ(ReadFile(dir / "bad"), (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(ReadFile(dir / "bad.encr"), Bytes(17, 1));
  EXPECT_EQ(dir.Entries(),
            (Names{".hidden.encr", "a.txt", "bad", "bad.encr", "folder", "readonly.encr"}));
}
