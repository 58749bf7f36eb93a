// lockvale-cli under faults from outside: a full disk, folders and files it may not use, a source
// that shrinks under it, a kill in the middle. Whatever happens, the status says failure, no
// file stands under the destination's name unless it is complete, and the source and an earlier
// destination are as they were, also when the source was to be deleted.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "CliProcess.h"

using namespace lockvale::test;

namespace {

class FaultInjection : public ::testing::Test {
 protected:
  void SetUp() override {
    // Open to nobody, who runs the tool where permissions are to count.
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
    WriteFile(dir / "key", {'k', 'e', 'y'});
    // Private to whoever runs the tool, so that no warning about readers comes with it.
    std::filesystem::permissions(dir / "key", std::filesystem::perms::owner_read);
    if (const passwd* nobody = getpwnam("nobody"); nobody && geteuid() == 0) {
      EXPECT_EQ(chown((dir / "key").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    WriteFile(dir / "source", source);
    std::filesystem::create_directory(dir / "out");
    WriteFile(dir / "out/earlier.encr", earlier);
  }

  // Encrypts the source over the earlier destination, once keeping and once deleting the
  // source; expects failure both times and everything as it was.
  void ExpectFailureLosesNothing(bool asNobody, const std::string& destination) {
    for (const char* deleteSource : {"--overwrite", "--delete-source"}) {
      const std::string result = Cli({"encrypt", "--key-file", dir / "key", "--overwrite",
                                      deleteSource, "-o", destination, dir / "source"},
                                     {.asNobody = asNobody});
      EXPECT_NE(result.substr(0, 2), "0 ") << result;
      EXPECT_EQ(ReadFile(dir / "source"), source);
      ExpectDestinationAsItWas();
    }
  }

  // The earlier destination is whole and alone in its folder.
  void ExpectDestinationAsItWas() {
    EXPECT_EQ(ReadFile(dir / "out/earlier.encr"), earlier);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "out"), {}), 1);
  }

  TempDir dir;
  const Bytes source = RandomBytes(1 << 20, 11);
  const Bytes earlier = RandomBytes(4096, 12);
};

TEST_F(FaultInjection, FullDisk) {
  if (geteuid() != 0 ||
      mount("tmpfs", (dir / "out").c_str(), "tmpfs", 0, "size=256k,mode=0777") != 0)
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  WriteFile(dir / "out/earlier.encr", earlier);
  ExpectFailureLosesNothing(false, dir / "out/earlier.encr");
  umount((dir / "out").c_str());
}

// A folder that may not be listed is a failure of its own; the files beside it are done. A
// source the user may not remove, in a folder that only root may change, stays and is named: a
// plaintext, and a ciphertext that no trash can take.
TEST_F(FaultInjection, ForbiddenFolderAndSourceAndSourcesThatCannotBeRemoved) {
  if (geteuid() == 0 && access("/usr/bin/setpriv", X_OK) != 0)
    GTEST_SKIP() << "as root, permissions count only for nobody, through setpriv (util-linux)";
  chmod((dir / "out").c_str(), 0555);
  ExpectFailureLosesNothing(true, dir / "out/earlier.encr");
  chmod((dir / "out").c_str(), 0300);
  EXPECT_EQ(Cli({"encrypt", "-r", "--key-file", dir / "key", dir.Path()}, {.asNobody = true}),
            "1 lockvale-cli: " + dir / "out: cannot be searched: Permission denied\n");
  EXPECT_TRUE(std::filesystem::exists(dir / "source.encr"));
  chmod((dir / "out").c_str(), 0777);
  chmod((dir / "source").c_str(), 0);
  ExpectFailureLosesNothing(true, dir / "out/earlier.encr");

  chmod((dir / "source").c_str(), 0644);
  chmod(dir.Path().c_str(), 0555);
  for (const auto& [command, name, reason] :
       {std::tuple{"encrypt", "source", "Permission denied"},
        {"decrypt", "source.encr", "cannot move it to the trash: Permission denied"}})
    EXPECT_EQ(Cli({command, "--key-file", dir / "key", "--overwrite", "--delete-source", "-o",
                   dir / "out/result", dir / name},
                  {.environment = {"XDG_DATA_HOME=" + dir / "out"}, .asNobody = true}),
              "1 lockvale-cli: " + dir / name + ": source not deleted: " + reason + "\n");
  EXPECT_EQ(ReadFile(dir / "out/result"), source);
  EXPECT_TRUE(std::filesystem::exists(dir / "source") &&
              std::filesystem::exists(dir / "source.encr"));
}

// A sparse 3 GiB source reads fast but takes seconds to encrypt, so the fault lands mid-file: the
// source shrinks, or a signal ends the tool. Where the file system has no unnamed files, a signal
// that can be caught first removes the temporary file the tool writes; the status is the signal's.
TEST_F(FaultInjection, SourceShrinksOrASignalEndsTheToolMidFile) {
  const auto entries = [&] {
    return std::distance(std::filesystem::directory_iterator(dir / "out"), {});
  };
  for (const int signal : {0, SIGKILL, SIGINT, SIGTERM, SIGHUP}) {
    const bool named = signal != 0 && signal != SIGKILL;  // a kill leaves a named one behind
    for (const char* deleteSource : {"--overwrite", "--delete-source"}) {
      std::filesystem::resize_file(dir / "source", 3ull << 30);
      CliRun run({"encrypt", "--key-file", dir / "key", "--overwrite", deleteSource, "-o",
                  dir / "out/earlier.encr", dir / "source"},
                 {.environment = named ? Strings{"LOCKVALE_TEST_NAMED_TEMPORARY=1"} : Strings{}});
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      for (int wait = 0; named && wait < 500 && entries() < 2; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      EXPECT_TRUE(!named || entries() == 2);  // the temporary file beside the destination
      if (signal == 0) std::filesystem::resize_file(dir / "source", 1 << 20);
      if (signal != 0) run.Kill(signal);
      const std::string result = run.Wait(), status = signal ? std::to_string(-signal) : "1";
      EXPECT_EQ(result.substr(0, status.size() + 1), status + " ") << result;
      EXPECT_TRUE(std::filesystem::exists(dir / "source"));
      ExpectDestinationAsItWas();
    }
  }
}

// The tool reads the file it opened, so a source removed under it still gives a whole result.
TEST_F(FaultInjection, SourceRemovedMidFileStillGivesTheWholeResult) {
  std::filesystem::resize_file(dir / "source", 1ull << 30);
  CliRun run({"encrypt", "--key-file", dir / "key", "-o", dir / "out/new.encr", dir / "source"});
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  std::filesystem::remove(dir / "source");
  ASSERT_EQ(run.Wait(), "0 ");
  EXPECT_EQ(std::filesystem::file_size(dir / "out/new.encr"), (1ull << 30) + 16);
}

}  // namespace
