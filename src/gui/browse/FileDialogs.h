#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace lockvale {

// The `flags` bits the program uses, with the values the platform's own dialogs give them.
inline constexpr std::uint32_t kOverwritePrompt = 0x2;
inline constexpr std::uint32_t kHideReadOnly = 0x4;
inline constexpr std::uint32_t kAllowMultiSelect = 0x200;
inline constexpr std::uint32_t kExplorer = 0x80000;
inline constexpr std::uint32_t kLongNames = 0x200000;

// The settings of the open and save dialogs. There is one record for the whole program, so a
// field a caller sets stays in force for later calls, by any caller, until it is set again.
struct FileDialogRecord {
  std::string sFilter;  // description, NUL, pattern for each entry: see FilterEntry
  std::string sDlgTitle;
  std::string sInitDir;
  std::uint32_t flags = 0;  // ShowOpen sets its own; ShowSave fills it only when it is 0
  std::string sFile;        // the file the open dialog offers: the last one chosen
};

extern FileDialogRecord FileDialog;

// One entry of sFilter; entries are concatenated. Patterns are separated by ";".
std::string FilterEntry(std::string_view description, std::string_view pattern);

// What the user chose. The default is the answer to a cancelled dialog.
struct DialogSelection {
  int nFilesSelected = 0;
  std::vector<std::string> sFiles;  // names without folder, numbered from 1: entry 0 is empty
  std::string sLastDirectory;       // ends in "/", so it followed by a name is a full path
  bool bCanceled = true;
};

// The open dialog lets the user choose several files in one folder; the save dialog one name,
// with an overwrite prompt when `flags` asks for one. Both are modal to `owner` and, with
// `centerForm`, centred on it, else on the screen.
DialogSelection ShowOpen(QWidget* owner, bool centerForm);
DialogSelection ShowSave(QWidget* owner, bool centerForm);

// A folder the user picks, "" when cancelled; an empty prompt asks "Select Folder...".
std::string BrowseFolder(const std::string& prompt);

}  // namespace lockvale
