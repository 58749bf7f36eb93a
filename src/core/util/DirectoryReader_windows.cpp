#include <windows.h>

#include <algorithm>
#include <memory>

#include "util/DirectoryReader.h"
#include "util/WindowsIo.h"

namespace lockvale {
namespace {

// The open search, the entry found last and its name in UTF-8.
struct Search {
  HANDLE handle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW entry{};
  bool entryUnread = true;  // FindFirstFileW has already read the first entry
  std::string name;
};

Search& Of(void* handle) {
  return *static_cast<Search*>(handle);
}

// Every entry of the folder. Past MAX_PATH a full path with a drive needs the \\?\ prefix,
// which takes only backslashes between names.
std::wstring SearchPattern(std::string folder) {
  std::replace(folder.begin(), folder.end(), '/', '\\');
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  folder += '*';
  if (folder.size() >= MAX_PATH && folder.size() > 2 && folder[1] == ':')
    folder.insert(0, "\\\\?\\");
  return windows::Wide(folder);
}

}  // namespace

// Windows has no handle to open a folder through: the parent is not needed.
DirectoryReader::DirectoryReader(const std::string& folder, const DirectoryReader*) {
  auto search = std::make_unique<Search>();
  search->handle =
      ::FindFirstFileExW(SearchPattern(folder).c_str(), FindExInfoBasic, &search->entry,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  const DWORD error = ::GetLastError();
  if (search->handle != INVALID_HANDLE_VALUE)
    m_Handle = search.release();
  else if (error != ERROR_FILE_NOT_FOUND)  // an empty drive's root: no "." or ".." either
    m_Failure = windows::ErrorText(error);
}

DirectoryReader::~DirectoryReader() {
  if (m_Handle == nullptr) return;
  ::FindClose(Of(m_Handle).handle);
  delete &Of(m_Handle);
}

bool DirectoryReader::Next(std::string_view& name) {
  if (m_Handle == nullptr) return false;
  Search& search = Of(m_Handle);
  for (;;) {
    if (!search.entryUnread && !::FindNextFileW(search.handle, &search.entry)) {
      const DWORD error = ::GetLastError();
      if (error != ERROR_NO_MORE_FILES) m_Failure = windows::ErrorText(error);
      return false;
    }
    search.entryUnread = false;
    const std::wstring_view found = search.entry.cFileName;
    if (found == L"." || found == L"..") continue;
    search.name = windows::Utf8(found);
    name = search.name;
    m_Entry = &search.entry;
    return true;
  }
}

// The search holds one entry at a time: there is nothing to free before the reader goes.
void DirectoryReader::EndListing() {}

// The search already holds the attributes: no further look-up per entry. A link never counts
// as a folder, so a walk cannot loop through links.
DirectoryReader::Kind DirectoryReader::EntryKind() const {
  const DWORD attributes = static_cast<const WIN32_FIND_DATAW*>(m_Entry)->dwFileAttributes;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return attributes & FILE_ATTRIBUTE_REPARSE_POINT ? Kind::Other : Kind::Folder;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return Kind::Other;
  return Kind::File;
}

bool IsFolder(const std::string& path) {
  return windows::IsFolderAttributes(windows::AttributesOf(path));
}

}  // namespace lockvale
