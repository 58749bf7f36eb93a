#include "jobs/FileJob.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <atomic>
#include <fstream>
#include <system_error>

#include "TestSupport.h"
#include "util/InputFile.h"

using namespace lockvale::test;
using namespace std::chrono_literals;

// A failed write loses nothing; the result takes the source's permission bits less the umask,
// as cp does, so a private file stays private.
TEST(FileJob, FailedWriteLosesNothingAndTheResultKeepsTheSourcesPermissions) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no file size limit to make a write fail and no permission bits; "
                  "WindowsFiles checks the read-only mark a result takes";
#else
  TempDir dir;
  cEncrypt cipher;
  cipher.SetCipherKeyString("correct horse", 256);
  const Bytes plain = RandomBytes(3'000'003, 7);
  WriteFile(dir / "plain", plain);
  WriteFile(dir / "old", {42});
  auto run = [&](const char* source, const char* destination, Direction direction, bool remove) {
    return RunFileJob(cipher, {dir / source, dir / destination, direction, true, remove}).format;
  };
  // A file size limit makes the kernel refuse writes past it, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit limited{1'000'000, saved.rlim_max};
  auto previous = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  EXPECT_THROW(run("plain", "old", Direction::Encrypt, true), std::system_error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(dir.Entries(), (Names{"old", "plain"}));
  EXPECT_EQ(ReadFile(dir / "old"), Bytes{42});
  EXPECT_TRUE(ReadFile(dir / "plain") == plain);

  using std::filesystem::perms;
  const mode_t savedMask = ::umask(022);
  for (const auto& [source, result] : {std::pair{perms(0600), perms(0600)},
                                       {perms(0666), perms(0644)},
                                       {perms(0440), perms(0440)}}) {
    std::filesystem::permissions(dir / "plain", source);
    ASSERT_EQ(run("plain", "cipher", Direction::Encrypt, false), FormatResult{});
    ASSERT_EQ(run("cipher", "back", Direction::Decrypt, false), FormatResult{});
    EXPECT_EQ(std::filesystem::status(dir / "cipher").permissions(), result);
    EXPECT_EQ(std::filesystem::status(dir / "back").permissions(), result);
  }
  ::umask(savedMask);
#endif
}

// A source appended to, or rewritten where it was already read, fails the job when the reading
// ends, and a cancel stops it at the next chunk: no result, and the source stays although it
// was to be deleted.
TEST(FileJob, SourceWrittenWhileReadOrJobCancelledLeavesNoResultAndTheSource) {
  TempDir dir;
  cEncrypt cipher;
  cipher.SetCipherKeyString("k", 128);
  const std::string source = dir / "plain";
  for (const auto mode : {std::ios::app, std::ios::in}) {
    WriteFile(source, RandomBytes(3'000'000, 1));
    // An hour back, so that a write in the same clock tick as the opening still shows.
    std::filesystem::last_write_time(source, std::filesystem::last_write_time(source) - 1h);
    cipher.SetProgressCallback([&, written = false](std::uint64_t) mutable {
      if (!std::exchange(written, true))
        std::fstream(source, mode | std::ios::out | std::ios::binary).put('x');
    });
    const auto changed = Caught<SourceChanged>([&] {
      RunFileJob(cipher, {source, dir / "out", Direction::Encrypt, false, true});
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->what(), source + " changed while it was read");
    EXPECT_EQ(dir.Entries(), Names{"plain"});
  }
  std::atomic<bool> cancel;
  cipher.SetCipherKeyString(WrongKey(ReadFile(source), 128, 0), 128);  // a length byte that fits
  cipher.SetProgressCallback([&](std::uint64_t) { cancel = true; }, &cancel);
  for (const Direction direction : {Direction::Encrypt, Direction::Decrypt}) {
    cancel = false;
    EXPECT_EQ(RunFileJob(cipher, {source, dir / "out", direction, false, true}).format,
              (FormatResult{FormatResult::Cancelled, 1 << 20}));
  }
  EXPECT_EQ(dir.Entries(), Names{"plain"});
}
