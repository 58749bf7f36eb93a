#include "util/AtomicOutputFile.h"

#include <gtest/gtest.h>

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

  AtomicOutputFile replacing(dir / "old", 0666);
  replacing.Write(data.data(), data.size());
  replacing.Commit(true);
  EXPECT_EQ(ReadFile(dir / "old"), data);

#ifndef _WIN32  // there a path ends at 260 characters unless written in its long form
  // The longest name a folder takes, with an unnamed temporary file and with a named one.
  const std::string longest = dir / std::string(255, 'n');
  for (const bool named : {false, true}) {
    if (named) setenv("LOCKVALE_TEST_NAMED_TEMPORARY", "1", 1);
    AtomicOutputFile file(longest, 0666);
    file.Commit(true);
    EXPECT_TRUE(std::filesystem::exists(longest)) << named;
  }
  unsetenv("LOCKVALE_TEST_NAMED_TEMPORARY");
#endif
}
