#include "util/AtomicOutputFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <system_error>

#include "TestSupport.h"

using namespace lockvale::test;

TEST(AtomicOutputFile, AppearsOnlyOnCommitAndNeverReplacesUnasked) {
  TempDir dir;
  const Bytes data = {1, 2, 3};
  WriteFile(dir / "old", {9});
  {
    AtomicOutputFile abandoned(dir / "old", 0666);
    abandoned.Write(data.data(), data.size());
  }
  EXPECT_EQ(ReadFile(dir / "old"), Bytes{9});

  AtomicOutputFile refused(dir / "old", 0666);
  const auto error = Caught<std::system_error>([&] { refused.Commit(false); });
  EXPECT_EQ(error.value().code(), std::errc::file_exists);
  EXPECT_EQ(dir.Entries(), Names{"old"});  // no temporary left behind

  const mode_t mask = ::umask(022);
  AtomicOutputFile replacing(dir / "old", 0666);
  replacing.Write(data.data(), data.size());
  replacing.Commit(true);
  ::umask(mask);
  EXPECT_EQ(ReadFile(dir / "old"), data);
  // An ordinary new file, not a private temporary (Windows knows only read-only or not).
#ifdef _WIN32
  EXPECT_EQ(std::filesystem::status(dir / "old").permissions(), std::filesystem::perms(0666));
#else
  EXPECT_EQ(std::filesystem::status(dir / "old").permissions(), std::filesystem::perms(0644));
#endif
}
