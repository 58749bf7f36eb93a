#include "util/FileIdentity.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace lockvale::test;

TEST(FileIdentity, NamesOfOneFileWhatExistsWhatIsReadOnlyAndDeleting) {
#ifdef _WIN32
  GTEST_SKIP() << "libstdc++ makes no symbolic links on Windows; WindowsFiles checks the same "
                  "with hard links, other spellings and the real attributes";
#endif
  TempDir dir;
  std::filesystem::create_directory(dir.Path() / "folder");
  for (const char* name : {"file", "other", ".hidden", "protected"})
    WriteFile(dir / name, {1});
  std::filesystem::permissions(dir / "protected", std::filesystem::perms::owner_read);
  std::filesystem::create_symlink(dir / "file", dir / "link");
  std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
  std::filesystem::create_hard_link(dir / "file", dir / "hard");

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

  EXPECT_TRUE(IsReadOnly(dir / "protected") && !IsReadOnly(dir / "other"));
  EXPECT_EQ(RemoveFile(dir / "other"), std::nullopt);
  EXPECT_EQ(RemoveFile(dir / "missing"), "No such file or directory");
  EXPECT_EQ(dir.Entries(),
            (Names{".hidden", "dangling", "file", "folder", "hard", "link", "protected"}));
}
