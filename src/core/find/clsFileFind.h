#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lockvale {

class DirectoryReader;
class FileFindListener;

// A folder a search could not open or read to its end, with the system's reason.
struct UnsearchedFolder {
  std::string folder;
  std::string reason;
  bool operator==(const UnsearchedFolder&) const = default;
};

// Walks a folder, and on request its whole subtree, appending the full path of every matching
// file to the caller's list. Runs on the caller's thread; a StopSearch, from any thread, ends it at
// its next directory entry. Never throws out of SearchFile: errors end the level they struck in.
class clsFileFind {
 public:
  enum Result : std::int32_t {
    DirExSuccess = 0,  // running, or ended having counted at least one entry
    UserCanceled = 1120,
    PathNameNotValid = 1121,  // empty path, or its folder part is not a folder
    NoFilesFound = 1122,
    DirExFailed = 1123,  // an error outside the walk ended the search
  };

  // The finder appends to `foundFiles` and never clears it.
  explicit clsFileFind(std::vector<std::string>& foundFiles) : m_FoundFiles(foundFiles) {}
  clsFileFind(const clsFileFind&) = delete;
  clsFileFind& operator=(const clsFileFind&) = delete;

  bool CaseSensitive() const { return m_CaseSensitive; }
  bool RecursiveSearch() const { return m_Recurse; }
  void CaseSensitive(bool bVal) { m_CaseSensitive = bVal; }
  void RecursiveSearch(bool bVal) { m_Recurse = bVal; }

  void SetListener(FileFindListener* listener) { m_Listener = listener; }

  // Safe from another thread; one asked before a search starts ends that search at once.
  void StopSearch() { m_StopAsked.store(true, std::memory_order_relaxed); }
  // `Pathname`: a folder ending in "/", a folder plus "/" plus a name pattern, or a name.
  void SearchFile(const std::string& Pathname, bool blnSubFolders, bool blnCaseSensitive = false);
  // Of the last search, named as CurrentFolder names them; their files are missing from it.
  const std::vector<UnsearchedFolder>& Unsearched() const { return m_Unsearched; }

 private:
  struct Match {
    std::string name;
    bool isFile;
  };
  struct Listing {
    std::vector<std::string> subfolders;
    std::vector<Match> matches;
  };

  Result ResultFlag();
  bool FileSpec(const std::string& InitPath, std::string& folder);
  void FindFolders(const std::string& sPath, const DirectoryReader* parent);
  bool ListFolder(DirectoryReader& folder, Listing& listing);
  void FindFiles(const std::string& sPath, std::vector<Match> matches);
  bool NameMatches(std::string_view name) const;
  void RaiseFinished();
  void ReportError(const char* operation) noexcept;

  std::vector<std::string>& m_FoundFiles;
  std::vector<UnsearchedFolder> m_Unsearched;
  FileFindListener* m_Listener = nullptr;
  std::atomic<bool> m_StopAsked{false};  // until the search sees it
  std::size_t m_Files = 0;
  std::string m_FileSpec;
  bool m_Recurse = false;
  bool m_CaseSensitive = false;
  Result m_ResultFlag = DirExSuccess;
};

// Receives the finder's notifications; CurrentFolder may call StopSearch to end the walk.
class FileFindListener {
 public:
  virtual ~FileFindListener() = default;
  // Before the folder's files are matched; no trailing "/" except for the root.
  virtual void CurrentFolder(const std::string& FolderPath) = 0;
  // Once per SearchFile. A listener that changes `Result` changes the finder's stored result.
  virtual void Finished(std::size_t FileCount, clsFileFind::Result& Result) = 0;
  // An error that ended one level of the walk (or the search); the walk itself goes on.
  virtual void RunTimeError(const std::string& /*operation*/, const std::string& /*description*/) {}
};

}  // namespace lockvale
