#include "util/AtomicOutputFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

#include "TestSupport.h"

namespace lockvale {
namespace {

using test::Bytes;
using test::TempDir;

const Bytes kData = {1, 2, 3, 4, 5};

TEST(AtomicOutputFile, NothingUnderTheRealNameUntilCommitAndNothingLeftWithout) {
  TempDir dir;
  {
    AtomicOutputFile out(dir / "result");
    out.Write(kData.data(), kData.size());
    EXPECT_TRUE(dir.Entries().empty());
  }
  EXPECT_TRUE(dir.Entries().empty()) << "an abandoned output must vanish";

  AtomicOutputFile out(dir / "result");
  out.Write(kData.data(), kData.size());
  out.Commit(false);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"result"});
  EXPECT_EQ(test::ReadFile(dir / "result"), kData);
}

TEST(AtomicOutputFile, ExistingDestinationIsKeptUntilTheReplacingCommit) {
  TempDir dir;
  test::WriteFile(dir / "result", {9, 9});
  {
    AtomicOutputFile abandoned(dir / "result");
    abandoned.Write(kData.data(), kData.size());
  }
  EXPECT_EQ(test::ReadFile(dir / "result"), (Bytes{9, 9}));

  AtomicOutputFile refused(dir / "result");
  refused.Write(kData.data(), kData.size());
  try {
    refused.Commit(false);
    FAIL() << "an existing destination must not be replaced silently";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), EEXIST);
  }
  EXPECT_EQ(test::ReadFile(dir / "result"), (Bytes{9, 9}));

  AtomicOutputFile replacing(dir / "result");
  replacing.Write(kData.data(), kData.size());
  replacing.Commit(true);
  EXPECT_EQ(test::ReadFile(dir / "result"), kData);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"result"});
}

TEST(AtomicOutputFile, CreatedWithTheUsualPermissions) {
  TempDir dir;
  mode_t mask = ::umask(022);
  AtomicOutputFile out(dir / "result");
  out.Commit(false);
  ::umask(mask);
  struct stat info {};
  ASSERT_EQ(::stat((dir / "result").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(AtomicOutputFile, MissingFolderIsAnError) {
  TempDir dir;
  EXPECT_THROW(AtomicOutputFile(dir / "no-such-folder/result"), std::system_error);
}

}  // namespace
}  // namespace lockvale
