#include <windows.h>

#include <shellapi.h>

#include "util/Trash.h"
#include "util/WindowsIo.h"

namespace lockvale {

std::optional<std::string> MoveToTrash(const std::string& path) {
  const std::wstring given = windows::Wide(path);
  std::wstring full(MAX_PATH, L'\0');
  DWORD length =
      ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = ::GetFullPathNameW(given.c_str(), length, full.data(), nullptr);
  }
  if (length == 0)
    return "cannot move it to the recycle bin: " + windows::ErrorText(::GetLastError());
  full.resize(length);
  full.push_back(L'\0');  // the list of names ends in two
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = full.c_str();
  // The shell asks, rather than deleting for good, where the file cannot be recycled.
  operation.fFlags =
      FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_WANTNUKEWARNING;
  const int result = ::SHFileOperationW(&operation);
  if (result != 0)
    return "cannot move it to the recycle bin (error " + std::to_string(result) + ")";
  if (operation.fAnyOperationsAborted) return "moving it to the recycle bin was declined";
  return std::nullopt;
}

}  // namespace lockvale
