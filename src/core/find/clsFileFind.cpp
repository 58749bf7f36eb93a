#include "find/clsFileFind.h"

#include <exception>
#include <filesystem>
#include <string_view>

#include "util/DirectoryReader.h"
#include "util/PathText.h"

namespace lockvale {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// Backs up only to the last "*", so no pattern takes exponential time. `step` gives the
// pattern index after the token at `p` when that token matches `c`, else npos.
template <typename Step>
bool WildMatch(std::string_view pattern, std::string_view name, Step step) {
  std::size_t p = 0, n = 0, starP = npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
      continue;
    }
    std::size_t next = p < pattern.size() ? step(pattern, p, name[n]) : npos;
    if (next != npos) {
      p = next;
      ++n;
    } else if (starP != npos) {
      p = starP;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

char FoldCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The usual file-name matching: "*" and "?" regardless of case, and "*.*" takes every name.
bool PlatformMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  return WildMatch(pattern, name, [](std::string_view pat, std::size_t p, char c) {
    return pat[p] == '?' || FoldCase(pat[p]) == FoldCase(c) ? p + 1 : npos;
  });
}

bool InList(std::string_view list, char c) {
  auto u = [](char x) { return static_cast<unsigned char>(x); };
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i + 2 < list.size() && list[i + 1] == '-') {
      if (u(list[i]) <= u(c) && u(c) <= u(list[i + 2])) return true;
      i += 2;
    } else if (list[i] == c) {
      return true;
    }
  }
  return false;
}

// "[list]" or "[!list]" at `p`. An unclosed "[" stands for itself; "[]" matches nothing.
std::size_t BracketStep(std::string_view pat, std::size_t p, char c) {
  std::size_t close = pat.find(']', p + 1);
  if (close == npos) return pat[p] == c ? p + 1 : npos;
  std::string_view list = pat.substr(p + 1, close - p - 1);
  bool negate = !list.empty() && list.front() == '!';
  if (negate) list.remove_prefix(1);
  return InList(list, c) != negate ? close + 1 : npos;
}

// Case significant: "*", "?", "#" one digit, "[a-z]" and "[!a-z]"; under these "*.*" needs a dot.
bool CaseSensitiveMatch(std::string_view pattern, std::string_view name) {
  return WildMatch(pattern, name, [](std::string_view pat, std::size_t p, char c) {
    switch (pat[p]) {
      case '?':
        return p + 1;
      case '#':
        return c >= '0' && c <= '9' ? p + 1 : npos;
      case '[':
        return BracketStep(pat, p, c);
      default:
        return pat[p] == c ? p + 1 : npos;
    }
  });
}

// Absolute and without "." or ".." parts; a trailing "/" stays.
std::string FullPath(const std::string& name) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(PathFromText(name), error);
  return error ? std::string() : TextOf(full.lexically_normal());
}

// A folder path without its trailing "/", except for the root.
std::string Qualify(std::string path) {
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

void clsFileFind::SearchFile(const std::string& Pathname, bool blnSubFolders,
                             bool blnCaseSensitive) {
  try {
    if (Pathname.empty()) {
      m_ResultFlag = PathNameNotValid;
    } else {
      RecursiveSearch(blnSubFolders);
      CaseSensitive(blnCaseSensitive);
      m_Files = 0;
      m_Unsearched.clear();
      m_ResultFlag = DirExSuccess;
      std::string folder;
      if (FileSpec(Pathname, folder)) FindFolders(folder, nullptr);
      if (m_Files == 0 && m_ResultFlag == DirExSuccess) m_ResultFlag = NoFilesFound;
    }
  } catch (...) {
    m_ResultFlag = DirExFailed;
    ReportError("clsFileFind.SearchFile");
  }
  RaiseFinished();
}

clsFileFind::Result clsFileFind::ResultFlag() {
  if (m_StopAsked.load(std::memory_order_relaxed) && m_StopAsked.exchange(false))
    m_ResultFlag = UserCanceled;
  return m_ResultFlag;
}

// The folder to search (ending in "/") and the name pattern: "*.*" for a folder ending in "/"
// and for "*" or "*.*", else the last name of the path, so a folder named without a trailing
// "/" is looked for inside its parent.
bool clsFileFind::FileSpec(const std::string& InitPath, std::string& folder) {
  std::string sPath = FullPath(InitPath);
  std::size_t slash = sPath.rfind('/');
  if (slash != npos) {
    std::string spec = sPath.substr(slash + 1);
    m_FileSpec = spec.empty() || spec == "*" || spec == "*.*" ? "*.*" : spec;
    folder = sPath.substr(0, slash + 1);
    if (IsFolder(folder)) return true;
  }
  m_ResultFlag = PathNameNotValid;
  return false;
}

// An error here ends this folder only; its parent goes on with the next subfolder. Subfolders
// are opened through their parent, so no path is too long to be searched.
void clsFileFind::FindFolders(const std::string& sPath, const DirectoryReader* parent) {
  try {
    if (ResultFlag() != DirExSuccess) return;
    DirectoryReader folder(sPath, parent);
    Listing listing;
    const bool listed = ListFolder(folder, listing);
    if (!folder.Failure().empty()) m_Unsearched.push_back({Qualify(sPath), folder.Failure()});
    if (!listed) return;
    if (m_Listener) m_Listener->CurrentFolder(Qualify(sPath));
    FindFiles(sPath, std::move(listing.matches));
    for (const std::string& subfolder : listing.subfolders)
      FindFolders(sPath + subfolder + '/', &folder);
  } catch (...) {
    ReportError("clsFileFind.FindFolders");
  }
}

// Reads the whole folder and ends its listing before anything descends. False when stopped.
bool clsFileFind::ListFolder(DirectoryReader& folder, Listing& listing) {
  std::string_view name;
  while (folder.Next(name)) {
    if (ResultFlag() != DirExSuccess) return false;
    const bool matches = NameMatches(name);
    if (!matches && !m_Recurse) continue;
    const DirectoryReader::Kind kind = folder.EntryKind();
    if (m_Recurse && kind == DirectoryReader::Kind::Folder) listing.subfolders.emplace_back(name);
    if (matches)
      listing.matches.push_back({std::string(name), kind == DirectoryReader::Kind::File});
  }
  folder.EndListing();
  return true;
}

// Every matching entry is counted; only files are reported, never folders.
void clsFileFind::FindFiles(const std::string& sPath, std::vector<Match> matches) {
  try {
    for (const Match& match : matches) {
      if (ResultFlag() != DirExSuccess) return;
      ++m_Files;
      if (match.isFile) m_FoundFiles.push_back(sPath + match.name);
    }
  } catch (...) {
    ReportError("clsFileFind.FindFiles");
  }
}

// The case-sensitive rules only narrow the usual matching, except for "#" and lists, which the
// usual matching takes literally; requiring both would let those match nothing, so they decide.
bool clsFileFind::NameMatches(std::string_view name) const {
  return m_CaseSensitive ? CaseSensitiveMatch(m_FileSpec, name) : PlatformMatch(m_FileSpec, name);
}

void clsFileFind::RaiseFinished() {
  try {
    if (m_Listener) m_Listener->Finished(m_Files, m_ResultFlag);
  } catch (...) {
    ReportError("clsFileFind.Finished");
  }
}

void clsFileFind::ReportError(const char* operation) noexcept {
  try {
    std::string description = "Unknown error";
    try {
      throw;
    } catch (const std::exception& error) {
      description = error.what();
    } catch (...) {
    }
    if (m_Listener) m_Listener->RunTimeError(operation, description);
  } catch (...) {
    // A report that fails must not become a new error of the walk.
  }
}

}  // namespace lockvale
