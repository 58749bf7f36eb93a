#pragma once

#include <string>
#include <string_view>

namespace lockvale {

// Reads a folder's entries one by one, in the order the file system keeps them, "." and ".."
// left out. An entry's kind is looked up only when asked: a link counts as a file when it
// leads to one and never as a folder, so a walk cannot loop through links.
class DirectoryReader {
 public:
  enum class Kind { Folder, File, Other };

  // With `parent`, the folder is the one named by the last name of `folder` inside the open
  // `parent`, reached through the parent's handle where the platform has one: so a path longer
  // than the system takes is still reached, and a folder swapped for a link is not followed.
  explicit DirectoryReader(const std::string& folder, const DirectoryReader* parent = nullptr);
  ~DirectoryReader();
  DirectoryReader(const DirectoryReader&) = delete;
  DirectoryReader& operator=(const DirectoryReader&) = delete;

  bool IsOpen() const { return m_Handle != nullptr; }
  bool Next(std::string_view& name);  // false at the end, and on an error
  Kind EntryKind() const;             // of the entry Next gave last
  // Frees what the listing holds; subfolders can still be opened through this folder.
  void EndListing();
  // Why the folder could not be opened or read to its end; empty when it could.
  const std::string& Failure() const { return m_Failure; }

 private:
  void* m_Handle = nullptr;
  const void* m_Entry = nullptr;
  std::string m_Failure;
};

// True when the path leads to a folder.
bool IsFolder(const std::string& path);

}  // namespace lockvale
