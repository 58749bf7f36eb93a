#include "fileselect/clsFileFind.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "TestSupport.h"

namespace lockvale {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

// Names ending in "/" become folders, the others empty files.
void Make(const test::TempDir& dir, std::initializer_list<std::string> names) {
  for (const std::string& name : names) {
    fs::create_directories(fs::path(dir / name).parent_path());
    if (name.back() != '/') test::WriteFile(dir / name, {});
  }
}

struct Search : FileFindListener {
  Search() { finder.SetListener(this); }
  void CurrentFolder(const std::string& FolderPath) override {
    folders.push_back(FolderPath);
    if (onFolder) onFolder(FolderPath);
  }
  void Finished(std::size_t FileCount, clsFileFind::Result& Result) override {
    ++finishedCalls;
    count = FileCount;
    result = Result;
  }
  void RunTimeError(const std::string&, const std::string& description) override {
    errors.push_back(description);
  }
  Paths Run(const std::string& path, bool subFolders = true, bool caseSensitive = false) {
    found.clear();
    folders.clear();
    finder.SearchFile(path, subFolders, caseSensitive);
    Paths hits;
    for (std::size_t at = 0, star; (star = found.find('*', at)) != std::string::npos; at = star + 1)
      hits.push_back(found.substr(at, star - at));
    std::sort(hits.begin(), hits.end());
    return hits;
  }

  std::string found;
  clsFileFind finder{found};
  Paths folders, errors;
  std::function<void(const std::string&)> onFolder;
  int finishedCalls = 0;
  std::size_t count = 0;
  clsFileFind::Result result = clsFileFind::DirExFailed;
};

class FileFind : public ::testing::Test {
 protected:
  test::TempDir dir;
  Search search;
};

TEST_F(FileFind, PatternsFindFilesOnly) {
  Make(dir, {"a.txt", "B.TXT", "b.log", "c.doc", "noext", ".hidden", "7.log", "r.txt", "s.txt/i"});
  fs::permissions(dir / "r.txt", fs::perms::owner_read);
  fs::create_symlink(dir / "a.txt", dir / "link.txt");
  fs::create_directory_symlink(dir / "s.txt", dir / "dirlink");
  struct Row {
    std::string pattern;
    bool caseSensitive;
    std::string names;
  };
  for (const Row& row : std::vector<Row>{
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
       }) {
    std::string names;
    for (const std::string& hit : search.Run(dir / row.pattern, false, row.caseSensitive))
      names += fs::path(hit).filename().string() + " ";
    EXPECT_EQ(names, row.names) << row.pattern;
  }
}

TEST_F(FileFind, PathChoosesFolderAndPatternAndFoldersAreCounted) {
  Make(dir, {"data/one.txt", "data/two.doc", "data/in/x", "empty/", "only/a/", "only/b/"});
  const std::string data = dir / "data", one = data + "/one.txt";
  const Paths both{one, data + "/two.doc"}, none;
  using R = clsFileFind::Result;
  const std::tuple<std::string, Paths, Paths, std::size_t, R> rows[] = {
      {data + "/", {data}, both, 3, R::DirExSuccess},
      {data + "/*", {data}, both, 3, R::DirExSuccess},
      {data + "/*.*", {data}, both, 3, R::DirExSuccess},
      {fs::relative(data) / "in/../", {data}, both, 3, R::DirExSuccess},
      {data + "/*.TXT", {data}, {one}, 1, R::DirExSuccess},
      {one, {data}, {one}, 1, R::DirExSuccess},
      {data, {dir.Path()}, none, 1, R::DirExSuccess},  // the folder, as a name in its parent
      {dir / "only/", {dir / "only"}, none, 2, R::DirExSuccess},
      {dir / "empty/", {dir / "empty"}, none, 0, R::NoFilesFound},
      {dir / "missing/*.txt", none, none, 0, R::PathNameNotValid},
      {one + "/*", none, none, 0, R::PathNameNotValid}};
  for (const auto& [path, folders, hits, count, result] : rows) {
    EXPECT_EQ(search.Run(path, false), hits) << path;
    EXPECT_EQ(search.folders, folders) << path;
    EXPECT_EQ(search.count, count) << path;
    EXPECT_EQ(search.result, result) << path;
  }
  search.Run(data + "/", true, true);
  search.Run("", false, false);  // refused, and the last search's count and settings stay
  EXPECT_EQ(search.result, clsFileFind::PathNameNotValid);
  EXPECT_EQ(search.count, 2u);  // "in" and "x" have no "." for a case-sensitive "*.*"
  EXPECT_TRUE(search.finder.RecursiveSearch() && search.finder.CaseSensitive());
  EXPECT_EQ(search.finishedCalls, 13);
  for (const std::string& hit : search.Run("/", false))
    EXPECT_TRUE(hit.rfind('/') == 0 && fs::is_regular_file(hit)) << hit;
  EXPECT_EQ(search.folders, Paths{"/"});
}

TEST_F(FileFind, WalksPreOrderWithEachFoldersFilesFirstAndAppends) {
  Make(dir, {"a.txt", "s1/b.txt", "s1/d/c.txt", "s2/e.txt"});
  const std::string r = dir.Path();
  search.found = "kept*";
  search.onFolder = [&](const std::string& folder) { search.found += "<" + folder + ">"; };
  search.finder.SearchFile(r + "/", true);
  std::string head = "kept*<" + r + ">" + r + "/a.txt*";
  std::string s1 = "<" + r + "/s1>" + r + "/s1/b.txt*<" + r + "/s1/d>" + r + "/s1/d/c.txt*";
  std::string s2 = "<" + r + "/s2>" + r + "/s2/e.txt*";
  EXPECT_TRUE(search.found == head + s1 + s2 || search.found == head + s2 + s1) << search.found;
}

TEST_F(FileFind, StopFromAListenerOrTheBreatheHookKeepsTheHitsSoFar) {
  Make(dir, {"a.txt", "b.txt", "s1/c.txt", "s1/t/d.txt", "s2/e.txt"});
  search.onFolder = [&](const std::string&) {
    if (search.folders.size() == 2) search.finder.StopSearch();
  };
  EXPECT_EQ(search.Run(dir / ""), (Paths{dir / "a.txt", dir / "b.txt"}));
  EXPECT_EQ(search.result, clsFileFind::UserCanceled);
  EXPECT_EQ(search.folders.size(), 2u);
  Search full;
  int breaths = 0;
  full.finder.SetBreatheHook([&] { ++breaths; });
  full.Run(dir / "*.none");
  EXPECT_GE(breaths, 8);  // once per directory entry, matching or not
  breaths = 0;
  full.Run(dir / "");
  for (int stopAt = 1; stopAt <= breaths; ++stopAt) {
    Search stopped;
    int calls = 0;
    stopped.finder.SetBreatheHook([&] {
      if (++calls == stopAt) stopped.finder.StopSearch();
    });
    stopped.Run(dir / "");
    EXPECT_EQ(stopped.result, clsFileFind::UserCanceled) << stopAt;
    EXPECT_EQ(full.found.rfind(stopped.found, 0), 0u) << stopAt;  // the hits so far
    EXPECT_EQ(stopped.finishedCalls, 1);
  }
}

TEST_F(FileFind, LinkLoopsAreNotFollowed) {
  Make(dir, {"a.txt", "sub/b.txt"});
  fs::create_directory_symlink(dir.Path(), dir / "sub/up");
  fs::create_directory_symlink("..", dir / "sub/parent");
  int breaths = 0;  // a walk that followed the links would be stopped here, not hang the test
  search.finder.SetBreatheHook([&] {
    if (++breaths == 1000) search.finder.StopSearch();
  });
  EXPECT_EQ(search.Run(dir / ""), (Paths{dir / "a.txt", dir / "sub/b.txt"}));
  EXPECT_EQ(search.folders.size(), 2u);
  EXPECT_EQ(search.result, clsFileFind::DirExSuccess);
}

TEST_F(FileFind, UnreadableFolderIsPassedOver) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder; run as another user";
  Make(dir, {"locked/x.txt", "open/y.txt"});
  fs::permissions(dir / "locked", fs::perms::none);
  EXPECT_EQ(search.Run(dir / ""), Paths{dir / "open/y.txt"});
  fs::permissions(dir / "locked", fs::perms::owner_all);
  EXPECT_EQ(search.result, clsFileFind::DirExSuccess);
}

TEST_F(FileFind, ErrorInAListenerEndsOnlyThatFolder) {
  Make(dir, {"s1/b.txt", "s2/c.txt"});
  search.onFolder = [&](const std::string& folder) {
    if (folder == dir / "s1") throw std::runtime_error("listener failed");
  };
  EXPECT_EQ(search.Run(dir / ""), Paths{dir / "s2/c.txt"});
  EXPECT_EQ(search.errors, Paths{"listener failed"});
  EXPECT_EQ(search.result, clsFileFind::DirExSuccess);
  EXPECT_EQ(search.finishedCalls, 1);
}

}  // namespace
}  // namespace lockvale
