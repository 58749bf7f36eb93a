// The freedesktop.org trash on Linux; the recycle bin on Windows is the shell's own.
#include "util/Trash.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/mount.h>
#include <sys/stat.h>

#include <ctime>

#include "CliProcess.h"

using namespace lockvale::test;

static std::string InfoNow(const std::string& path) {
  const std::time_t now = std::time(nullptr);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", std::localtime(&now));
  return "[Trash Info]\nPath=" + path + "\nDeletionDate=" + date + "\n";
}

// A file goes to files/ with its info beside it, and a name in use gets the next number; on
// another file system the trash is at its top, $topdir/.Trash/$uid when .Trash is a sticky
// folder, else $topdir/.Trash-$uid, keeping the path relative to the top. A trash that cannot be
// made leaves the file where it was and says why.
TEST(Trash, HomeOrTopTrashKeepsTheFileAndWhereItCameFrom) {
  TempDir dir, data;
  setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
  const std::string file = dir / "a b%.encr", encoded = dir / "a%20b%25.encr";
  std::string before;
  for (const Bytes& content : {Bytes{1}, Bytes{2}}) {
    WriteFile(file, content);
    before = InfoNow(encoded);
    ASSERT_EQ(MoveToTrash(file), std::nullopt);
  }
  const std::string info = Text(ReadFile(data / "Trash/info/a b%.encr.2.trashinfo"));
  EXPECT_TRUE(info == before || info == InfoNow(encoded)) << info;
  EXPECT_EQ(ReadFile(data / "Trash/files/a b%.encr"), Bytes{1});
  EXPECT_EQ(ReadFile(data / "Trash/files/a b%.encr.2"), Bytes{2});

  const std::string top = dir / "mounted", uid = std::to_string(getuid());
  std::filesystem::create_directories(top);
  if (mount("tmpfs", top.c_str(), "tmpfs", 0, "size=64k") == 0) {  // as root
    for (const char* folder : {"/.Trash", "/sub"})
      std::filesystem::create_directory(top + folder);
    for (const auto& [mode, trash] :
         {std::pair{0777, "/.Trash-" + uid}, {01777, "/.Trash/" + uid}}) {
      chmod((top + "/.Trash").c_str(), mode);
      WriteFile(top + "/sub/doc", {4});
      ASSERT_EQ(MoveToTrash(top + "/sub/doc"), std::nullopt);
      EXPECT_EQ(ReadFile(top + trash + "/files/doc"), Bytes{4});
      const std::string topInfo = Text(ReadFile(top + trash + "/info/doc.trashinfo"));
      EXPECT_EQ(topInfo.substr(0, topInfo.find("Del")), "[Trash Info]\nPath=sub/doc\n");
      EXPECT_EQ(std::filesystem::status(top + trash).permissions(),
                std::filesystem::perms::owner_all);
    }
    umount(top.c_str());
  }

  WriteFile(file, {3});
  setenv("XDG_DATA_HOME", (data / "Trash/files/a b%.encr/below").c_str(), 1);
  EXPECT_EQ(MoveToTrash(file), "cannot move it to the trash: Not a directory");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(dir.Entries(), (Names{"a b%.encr", "mounted"}));
}
#endif
