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

  explicit DirectoryReader(const std::string& folder);  // an unreadable folder reads as empty
  ~DirectoryReader();
  DirectoryReader(const DirectoryReader&) = delete;
  DirectoryReader& operator=(const DirectoryReader&) = delete;

  bool IsOpen() const { return m_Handle != nullptr; }
  bool Next(std::string_view& name);  // false at the end
  Kind EntryKind() const;             // of the entry Next gave last

 private:
  void* m_Handle = nullptr;
  const void* m_Entry = nullptr;
};

// True when the path leads to a folder.
bool IsFolder(const std::string& path);

}  // namespace lockvale
