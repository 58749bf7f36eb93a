#include "util/FileIdentity.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "TestSupport.h"

using namespace lockvale::test;

TEST(FileIdentity, NamesOfOneFileWhatExistsAndDeletingKeepsReadOnlyFiles) {
  TempDir dir;
  std::filesystem::create_directory(dir.Path() / "folder");
  for (const char* name : {"file", "other", ".hidden", "protected"})
    WriteFile(dir / name, {1});
  std::filesystem::permissions(dir / "protected", std::filesystem::perms::owner_read);
  ASSERT_EQ(::symlink((dir / "file").c_str(), (dir / "link").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str()), 0);
  ASSERT_EQ(::link((dir / "file").c_str(), (dir / "hard").c_str()), 0);

  for (const std::string& alias :
       {dir / "folder/../file", dir / "./file", dir / "link", dir / "hard"})
    EXPECT_TRUE(SameFile(dir / "file", alias)) << alias;
  EXPECT_FALSE(SameFile(dir / "file", dir / "other"));
  EXPECT_FALSE(SameFile(dir / "missing", dir / "missing"));
  // Anything but a folder exists as a file.
  for (const std::string& absent : {std::string(), dir / "missing", dir / "folder"})
    EXPECT_FALSE(FileExists(absent)) << absent;
  for (const char* name : {".hidden", "protected", "dangling"})
    EXPECT_TRUE(FileExists(dir / name)) << name;

  for (const char* name : {"other", "protected", "missing"})
    DeleteFileQuietly(dir / name);
  EXPECT_EQ(dir.Entries(),
            (Names{".hidden", "dangling", "file", "folder", "hard", "link", "protected"}));
}
