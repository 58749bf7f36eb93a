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

TEST(FileIdentity, AnythingButAFolderExistsAsAFile) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.Path() / "folder");
  test::WriteFile(dir / ".hidden", {1});
  test::WriteFile(dir / "protected", {1});
  std::filesystem::permissions(dir / "protected", std::filesystem::perms::owner_read);
  ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str()), 0);
  for (const std::string& absent : {std::string(), dir / "missing", dir / "folder"})
    EXPECT_FALSE(FileExists(absent)) << absent;
  for (const char* name : {".hidden", "protected", "dangling"})
    EXPECT_TRUE(FileExists(dir / name)) << name;
}

TEST(FileIdentity, DeletingKeepsReadOnlyFiles) {
  test::TempDir dir;
  test::WriteFile(dir / "plain", {1});
  test::WriteFile(dir / "protected", {1});
  std::filesystem::permissions(dir / "protected", std::filesystem::perms::owner_read);
  DeleteFileQuietly(dir / "plain");
  DeleteFileQuietly(dir / "protected");
  DeleteFileQuietly(dir / "missing");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"protected"});
}

}  // namespace
}  // namespace lockvale
