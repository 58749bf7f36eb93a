#include "browse/FileDialogs.h"

#include "support/ActiveFilePickers.h"
#include "support/Statement.h"
#include "util/StringHelpers.h"

namespace lockvale {

FileDialogRecord FileDialog;

namespace {

constexpr std::uint32_t kOpenFlags = kHideReadOnly | kAllowMultiSelect | kExplorer | kLongNames;
constexpr std::uint32_t kSaveFlags = kOverwritePrompt | kHideReadOnly | kExplorer | kLongNames;

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Qt's patterns are separated by blanks, and its "*.*" takes only names with a dot.
std::string QtPatterns(std::string_view patterns) {
  std::vector<std::string> pieces;
  SplitString(patterns, ';', pieces);
  std::string qtPatterns;
  for (const std::string& piece : pieces) {
    const std::string_view pattern = Trimmed(piece);
    if (pattern.empty()) continue;
    if (!qtPatterns.empty()) qtPatterns += ' ';
    qtPatterns += pattern == "*.*" ? "*" : pattern;
  }
  return qtPatterns;
}

// Qt takes the patterns from the parentheses that end an entry's description, so those are
// written anew from the entry's own patterns.
std::string QtFilter(std::string_view sFilter) {
  std::vector<std::string> parts;
  SplitString(sFilter, '\0', parts);
  std::string filter;
  for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
    std::string_view description = parts[i];
    if (description.ends_with(')') && description.find('(') != std::string_view::npos)
      description = Trimmed(description.substr(0, description.rfind('(')));
    if (!filter.empty()) filter += ";;";
    filter.append(description).append(" (").append(QtPatterns(parts[i + 1])).append(")");
  }
  return filter;
}

DialogSelection Selection(const std::vector<std::string>& paths) {
  DialogSelection selection;
  const std::size_t slash = paths.front().rfind('/');
  selection.sLastDirectory =
      slash == std::string::npos ? std::string("./") : paths.front().substr(0, slash + 1);
  selection.sFiles.emplace_back();
  for (const std::string& path : paths)
    selection.sFiles.push_back(path.substr(path.rfind('/') + 1));
  selection.nFilesSelected = static_cast<int>(paths.size());
  selection.bCanceled = false;
  return selection;
}

}  // namespace

std::string FilterEntry(std::string_view description, std::string_view pattern) {
  std::string entry(description);
  entry.append(1, '\0').append(pattern).append(1, '\0');
  return entry;
}

DialogSelection ShowOpen(QWidget* owner, bool centerForm) {
  DialogSelection selection;
  LV_GUARD("ShowOpen", [&] {
    FileDialog.flags = kOpenFlags;
    const std::vector<std::string> paths =
        LV_STMT(WithFilePickerOwner(centerForm ? owner : nullptr, [] {
          return ActiveFilePickers().Open(FileDialog.sDlgTitle, QtFilter(FileDialog.sFilter),
                                          FileDialog.sInitDir, FileDialog.sFile,
                                          (FileDialog.flags & kAllowMultiSelect) != 0);
        }));
    if (paths.empty()) return;
    FileDialog.sFile = paths.front();
    selection = Selection(paths);
  });
  return selection;
}

DialogSelection ShowSave(QWidget* owner, bool centerForm) {
  DialogSelection selection;
  LV_GUARD("ShowSave", [&] {
    FileDialog.sFile.clear();
    if (FileDialog.flags == 0) FileDialog.flags = kSaveFlags;
    const std::string path = LV_STMT(WithFilePickerOwner(centerForm ? owner : nullptr, [] {
      return ActiveFilePickers().Save(FileDialog.sDlgTitle, QtFilter(FileDialog.sFilter),
                                      FileDialog.sInitDir,
                                      (FileDialog.flags & kOverwritePrompt) != 0);
    }));
    if (path.empty()) return;
    FileDialog.sFile = path;
    selection = Selection({path});
  });
  return selection;
}

std::string BrowseFolder(const std::string& prompt) {
  return ActiveFilePickers().Folder(prompt.empty() ? "Select Folder..." : prompt);
}

}  // namespace lockvale
