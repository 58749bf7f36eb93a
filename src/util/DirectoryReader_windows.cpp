#include <windows.h>

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

}  // namespace

DirectoryReader::DirectoryReader(const std::string& folder) {
  auto search = std::make_unique<Search>();
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '/' && pattern.back() != '\\') pattern += '/';
  search->handle =
      ::FindFirstFileExW(windows::Wide(pattern + '*').c_str(), FindExInfoBasic, &search->entry,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search->handle != INVALID_HANDLE_VALUE) m_Handle = search.release();
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
    if (!search.entryUnread && !::FindNextFileW(search.handle, &search.entry)) return false;
    search.entryUnread = false;
    const std::wstring_view found = search.entry.cFileName;
    if (found == L"." || found == L"..") continue;
    search.name = windows::Utf8(found);
    name = search.name;
    m_Entry = &search.entry;
    return true;
  }
}

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
