#include "util/AtomicOutputFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <system_error>

#include "TestSupport.h"

namespace lockvale {
namespace {

using test::Bytes;

TEST(AtomicOutputFile, AppearsOnlyOnCommitAndNeverReplacesUnasked) {
  test::TempDir dir;
  const Bytes data = {1, 2, 3};
  test::WriteFile(dir / "old", {9});
  {
    AtomicOutputFile abandoned(dir / "old", 0666);
    abandoned.Write(data.data(), data.size());
  }
  EXPECT_EQ(test::ReadFile(dir / "old"), Bytes{9});

  AtomicOutputFile refused(dir / "old", 0666);
  try {
    refused.Commit(false);
    ADD_FAILURE() << "replaced an existing file unasked";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code(), std::errc::file_exists);
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"old"});  // no temporary left behind

  mode_t mask = ::umask(022);
  AtomicOutputFile replacing(dir / "old", 0666);
  replacing.Write(data.data(), data.size());
  replacing.Commit(true);
  ::umask(mask);
  EXPECT_EQ(test::ReadFile(dir / "old"), data);
  EXPECT_EQ(std::filesystem::status(dir / "old").permissions(),
            std::filesystem::perms(0644));  // an ordinary new file, not a private temporary
}

}  // namespace
}  // namespace lockvale
