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

  for (const std::string& alias :
       {dir / "file", dir / "sub/../file", dir / "./file", dir / "link", dir / "hard"})
    EXPECT_TRUE(SameFile(dir / "file", alias)) << alias;
  EXPECT_FALSE(SameFile(dir / "file", dir / "other"));
  EXPECT_FALSE(SameFile(dir / "file", dir / "missing"));
  EXPECT_FALSE(SameFile(dir / "missing", dir / "missing"));
}

TEST(FileIdentity, ExistenceAndKind) {
  test::TempDir dir;
  test::WriteFile(dir / "file", {});
  ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "dangling").c_str()), 0);
  EXPECT_TRUE(IsRegularFile(dir / "file"));
  EXPECT_FALSE(IsRegularFile(dir.Path().string()));
  EXPECT_FALSE(IsRegularFile(""));
  EXPECT_TRUE(PathExists(dir / "dangling")) << "a dangling link still takes the name";
  EXPECT_FALSE(PathExists(dir / "gone"));
  DeleteFileQuietly(dir / "file");
  DeleteFileQuietly(dir / "file");  // twice: the second failure is ignored
  EXPECT_FALSE(PathExists(dir / "file"));
}

}  // namespace
}  // namespace lockvale
