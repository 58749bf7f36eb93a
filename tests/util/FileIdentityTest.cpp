#include "util/FileIdentity.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "TestSupport.h"

namespace lockvale {
namespace {

TEST(FileIdentity, EveryNameOfOneFileIsTheSameFile) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.Path() / "sub");
  test::WriteFile(dir / "file", {1});
  test::WriteFile(dir / "other", {1});
  ASSERT_EQ(::symlink((dir / "file").c_str(), (dir / "link").c_str()), 0);
  ASSERT_EQ(::link((dir / "file").c_str(), (dir / "hard").c_str()), 0);
  for (const std::string& alias : {dir / "sub/../file", dir / "./file", dir / "link", dir / "hard"})
    EXPECT_TRUE(SameFile(dir / "file", alias)) << alias;
  EXPECT_FALSE(SameFile(dir / "file", dir / "other"));
  EXPECT_FALSE(SameFile(dir / "missing", dir / "missing"));
}

}  // namespace
}  // namespace lockvale
