#include "jobs/FileHelpers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "TestSupport.h"

namespace lockvale {
namespace {

TEST(FileHelpers, AnythingButAFolderExists) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.Path() / "folder");
  test::WriteFile(dir / ".hidden", {1});
  test::WriteFile(dir / "protected", {1});
  std::filesystem::permissions(dir / "protected", std::filesystem::perms::owner_read);
  ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "dangling").c_str()), 0);

  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(dir / "missing"));
  EXPECT_FALSE(FileExists(dir / "folder"));
  for (const char* name : {".hidden", "protected", "dangling"})
    EXPECT_TRUE(FileExists(dir / name)) << name;
}

}  // namespace
}  // namespace lockvale
