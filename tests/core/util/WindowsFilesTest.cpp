// The Windows file layer with the real attributes; built empty elsewhere.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <system_error>

#include "TestSupport.h"
#include "find/clsFileFind.h"
#include "util/AtomicOutputFile.h"
#include "util/CodePage.h"
#include "util/FileIdentity.h"
#include "util/InputFile.h"
#include "util/PathText.h"
#include "util/RaisedError.h"
#include "util/WindowsIo.h"

using namespace lockvale::test;
using lockvale::windows::AttributesOf;

static void Mark(const std::string& path, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesW(lockvale::windows::Wide(path).c_str(), attributes));
}

static void Replace(const std::string& path, const Bytes& data, bool replaceExisting,
                    std::uint32_t permissionBits = 0666) {
  AtomicOutputFile file(path, permissionBits);
  file.Write(data.data(), data.size());
  file.Commit(replaceExisting);
}

TEST(WindowsFiles, ReadOnlyAndHiddenMarksNamesOfOneFileAndUtf8Paths) {
  TempDir dir;
  const std::string name = dir / "Grüße ü.txt", marked = dir / "marked";
  Replace(name, {1, 2}, false, 0444);  // a read-only source gives a read-only copy
  EXPECT_EQ(AttributesOf(name) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            DWORD{FILE_ATTRIBUTE_READONLY});
  EXPECT_EQ(InputFile(name).PermissionBits(), 0444u);
  EXPECT_TRUE(IsReadOnly(name));

  for (DWORD attributes : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN}) {
    WriteFile(marked, {9});
    Mark(marked, attributes);
    EXPECT_EQ(Caught<std::system_error>([&] { Replace(marked, {3}, false); })->code(),
              std::errc::file_exists);
    EXPECT_TRUE(FileExists(marked));
    Replace(marked, {3}, true);  // the user agreed
    EXPECT_EQ(ReadFile(marked), Bytes{3});
    EXPECT_EQ(AttributesOf(marked) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
  }
  Mark(name, FILE_ATTRIBUTE_NORMAL);
  std::filesystem::create_hard_link(PathFromText(name), dir.Path() / "hard");
  for (const std::string& alias : {dir / "hard", dir / "x\\..\\Grüße ü.txt", dir / "gRüßE ü.TXT"})
    EXPECT_TRUE(SameFile(name, alias)) << alias;
  EXPECT_FALSE(SameFile(name, marked));

  Names found;
  clsFileFind(found).SearchFile(dir.Path().string() + "\\*.txt", false);
  EXPECT_EQ(found, Names{name});
  EXPECT_EQ(dir.Entries().size(), 3u);  // no temporary left behind
}

TEST(WindowsFiles, CodePagesByTheirOtherNames) {
  const Bytes grusse{'G', 'r', 0xFC, 0xDF, 'e'};
  for (const char* name : {"windows-1252", "CP1252", "1252", "ISO-8859-1"})
    EXPECT_EQ(CodePage(name).Encode("Grüße"), grusse) << name;
  EXPECT_EQ(CodePage("Shift_JIS").Encode("日本"), (Bytes{0x93, 0xFA, 0x96, 0x7B}));
  EXPECT_THROW(CodePage("windows-99999"), RaisedError);
  std::size_t unheld = 0;
  EXPECT_EQ(CodePage("CP1252").Encode("Ωmega", &unheld), (Bytes{'?', 'm', 'e', 'g', 'a'}));
  EXPECT_EQ(unheld, 1u);
}
#endif
