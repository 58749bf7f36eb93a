#include "find/clsFileFind.h"

#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"

using namespace lockvale::test;

namespace fs = std::filesystem;

// Names ending in "/" become folders, the others empty files.
static void Make(const TempDir& dir, std::initializer_list<std::string> names) {
  for (const std::string& name : names) {
    fs::create_directories(fs::path(dir / name).parent_path());
    if (name.back() != '/') WriteFile(dir / name, {});
  }
}

// Searches in a fresh folder, recording what the finder reports.
class FileFind : public ::testing::Test, public FileFindListener {
 protected:
  FileFind() { finder.SetListener(this); }
  void CurrentFolder(const std::string& folder) override {
    folders.push_back(folder);
    if (onFolder) onFolder(folder);
  }
  void Finished(std::size_t files, clsFileFind::Result& outcome) override {
    ++finishedCalls;
    count = files;
    result = outcome;
  }
  void RunTimeError(const std::string&, const std::string& description) override {
    errors.push_back(description);
  }
  // The files found, sorted.
  Names Run(const std::string& path, bool subFolders = true, bool caseSensitive = false) {
    found.clear();
    folders.clear();
    finder.SearchFile(path, subFolders, caseSensitive);
    Names hits = found;
    std::sort(hits.begin(), hits.end());
    return hits;
  }

  TempDir dir;
  Names found;
  clsFileFind finder{found};
  Names folders, errors;
  std::function<void(const std::string&)> onFolder;
  int finishedCalls = 0;
  std::size_t count = 0;
  clsFileFind::Result result = clsFileFind::DirExFailed;
};

TEST_F(FileFind, PatternsFindFilesOnly) {
  Make(dir, {"a.txt", "B.TXT", "b.log", "c.doc", "noext", ".hidden", "7.log", "r.txt", "s.txt/i"});
  fs::permissions(dir / "r.txt", fs::perms::owner_read);
#ifdef _WIN32  // libstdc++ makes no symbolic links there
  fs::create_hard_link(dir / "a.txt", dir / "link.txt");
#else
  fs::create_symlink(dir / "a.txt", dir / "link.txt");
  fs::create_directory_symlink(dir / "s.txt", dir / "dirlink");
#endif
  const std::tuple<std::string, bool, std::string> kRows[] = {
      {"*.*", false, ".hidden 7.log B.TXT a.txt b.log c.doc link.txt noext r.txt "},
      {"*.txt", false, "B.TXT a.txt link.txt r.txt "},
      {"?.TXT", false, "B.TXT a.txt r.txt "},
      {".*", false, ".hidden "},
      {"*", true, ".hidden 7.log B.TXT a.txt b.log c.doc link.txt r.txt "},
      {"*.TXT", true, "B.TXT "},
      {"?.txt", true, "a.txt r.txt "},
      {"#.log", true, "7.log "},
      {"[a-c].*", true, "a.txt b.log c.doc "},
      {"[!a-c]*", true, ".hidden 7.log B.TXT link.txt noext r.txt "},
  };
  for (const auto& [pattern, caseSensitive, expected] : kRows) {
    std::string names;
    for (const std::string& hit : Run(dir / pattern, false, caseSensitive))
      names += fs::path(hit).filename().string() + " ";
    EXPECT_EQ(names, expected) << pattern;
  }
}

TEST_F(FileFind, PathChoosesFolderAndPatternAndFoldersAreCounted) {
#ifdef _WIN32
  GTEST_SKIP() << "the rows take the temporary folder relative to the working folder and search "
                  "\"/\", which on Windows lie on other drives; WindowsFiles searches there";
#endif
  Make(dir, {"data/one.txt", "data/two.doc", "data/in/x", "empty/", "only/a/", "only/b/"});
  const std::string data = dir / "data", one = data + "/one.txt";
  const Names both{one, data + "/two.doc"}, none;
  using R = clsFileFind::Result;
  const std::tuple<std::string, Names, Names, std::size_t, R> rows[] = {
      {data + "/", {data}, both, 3, R::DirExSuccess},
      {data + "/*", {data}, both, 3, R::DirExSuccess},
      {data + "/*.*", {data}, both, 3, R::DirExSuccess},
      {(fs::relative(data) / "in/../").generic_string(), {data}, both, 3, R::DirExSuccess},
      {data + "/*.TXT", {data}, {one}, 1, R::DirExSuccess},
      {one, {data}, {one}, 1, R::DirExSuccess},
      // the folder, as a name in its parent
      {data, {dir.Path().generic_string()}, none, 1, R::DirExSuccess},
      {dir / "only/", {dir / "only"}, none, 2, R::DirExSuccess},
      {dir / "empty/", {dir / "empty"}, none, 0, R::NoFilesFound},
      {dir / "missing/*.txt", none, none, 0, R::PathNameNotValid},
      {one + "/*", none, none, 0, R::PathNameNotValid}};
  for (const auto& [path, inFolders, hits, matches, outcome] : rows)
    EXPECT_EQ(std::tuple(Run(path, false), folders, count, result),
              std::tuple(hits, inFolders, matches, outcome))
        << path;
  Run(data + "/", true, true);
  Run("", false, false);  // refused, and the last search's count and settings stay
  // "in" and "x" have no "." for a case-sensitive "*.*"
  EXPECT_EQ(
      std::tuple(result, count, finder.RecursiveSearch(), finder.CaseSensitive(), finishedCalls),
      std::tuple(clsFileFind::PathNameNotValid, 2u, true, true, 13));
}

// Each folder's files come before its subfolders, and hits are appended to what the list held,
// each name as it is ("*", "?", line breaks, tabs, a leading "-", bytes that are not UTF-8). A
// link to a folder is never followed, so a link back up cannot make the walk loop. A folder
// past PATH_MAX is reached through its parent.
TEST_F(FileFind, WalksPreOrderWithEachFoldersFilesFirstAppendsAndFollowsNoFolderLinks) {
#ifdef _WIN32
  GTEST_SKIP() << "libstdc++ makes no folder links on Windows";
#else
  Make(dir, {"a*.txt", "s/b?\n", "s/-d\t/c\xff.txt"});
  fs::create_directory_symlink(dir.Path(), dir / "s/up");
  const std::string r = dir.Path().generic_string(), name(250, 'd');
  found = {"kept"};
  onFolder = [&](const std::string& folder) { found.push_back("<" + folder + ">"); };
  finder.SearchFile(r + "/", true);
  EXPECT_EQ(found, (Names{"kept", "<" + r + ">", r + "/a*.txt", "<" + r + "/s>", r + "/s/b?\n",
                          "<" + r + "/s/-d\t>", r + "/s/-d\t/c\xff.txt"}));

  std::string deep = r + "/s";
  for (int level = 0; level < 17; ++level)
    deep += "/" + name;
  // bash, as dash cannot cd past PATH_MAX
  const std::string make = "for i in $(seq 17); do mkdir " + name + " && cd " + name + "; done";
  ASSERT_EQ(std::system(("cd '" + r + "/s' && bash -c '" + make + " && touch f'").c_str()), 0);
  onFolder = nullptr;
  EXPECT_EQ(Run(r + "/s/"), (Names{r + "/s/-d\t/c\xff.txt", r + "/s/b?\n", deep + "/f"}));
  EXPECT_EQ(std::system(("rm -rf '" + r + "/s'").c_str()), 0);  // too deep for remove_all
#endif
}

// A stop from a listener, or from another thread before the search starts, ends the search with
// the hits so far, reported once; the stop is spent then.
TEST_F(FileFind, StopFromAListenerOrAnotherThreadKeepsTheHitsSoFar) {
  Make(dir, {"a.txt", "b.txt", "s1/c.txt", "s1/t/d.txt", "s2/e.txt"});
  onFolder = [&](const std::string&) {
    if (folders.size() == 2) finder.StopSearch();
  };
  EXPECT_EQ(Run(dir / ""), (Names{dir / "a.txt", dir / "b.txt"}));
  EXPECT_EQ(std::tuple(result, folders.size()), std::tuple(clsFileFind::UserCanceled, 2u));
  onFolder = nullptr;
  std::thread([&] { finder.StopSearch(); }).join();
  EXPECT_EQ(std::tuple(Run(dir / ""), result, finishedCalls),
            std::tuple(Names{}, clsFileFind::UserCanceled, 2));
  EXPECT_EQ(Run(dir / "").size(), 5u);
}

// A folder that cannot be read (here, one gone by the time the walk reaches it) and one
// whose listener fails end only themselves; the first is named with the system's reason.
TEST_F(FileFind, AFolderThatFailsEndsOnlyItself) {
  Make(dir, {"gone/a.txt", "s1/b.txt", "s2/c.txt"});
  onFolder = [&](const std::string& folder) {
    if (folder == dir.Path()) fs::remove_all(dir / "gone");
    if (folder == dir / "s1") throw std::runtime_error("listener failed");
  };
  EXPECT_EQ(
      std::tuple(Run(dir / ""), errors, result, finishedCalls),
      std::tuple(Names{dir / "s2/c.txt"}, Names{"listener failed"}, clsFileFind::DirExSuccess, 1));
  EXPECT_EQ(finder.Unsearched(),
            (std::vector<UnsearchedFolder>{{dir / "gone", "No such file or directory"}}));
}
