#pragma once

#include <string>
#include <utility>
#include <vector>

namespace lockvale {

enum class PickerKind { Open, Save, Folder };

// One file or folder picker. Texts are UTF-8; `filter` is in Qt's form, entries such as
// "Encrypted Files (*.encr)" separated by ";;".
struct PickerRequest {
  PickerKind kind = PickerKind::Open;
  std::string title;  // the prompt, for a folder
  std::string filter;
  std::string initialFolder;
  std::string initialFile;  // open: a name or a full path offered at first
  bool severalFiles = false;
  bool confirmOverwrite = false;
  bool operator==(const PickerRequest&) const = default;
};

// Every file and folder picker of the program goes through here, so tests can answer them
// by script and check exactly what was asked. Qt-free, like the message boxes.
class FilePickers {
 public:
  virtual ~FilePickers() = default;
  // The full paths chosen; none when the user cancels.
  virtual std::vector<std::string> Pick(const PickerRequest& request) = 0;

  std::vector<std::string> Open(std::string title, std::string filter, std::string initialFolder,
                                std::string initialFile, bool severalFiles) {
    return Pick({PickerKind::Open, std::move(title), std::move(filter), std::move(initialFolder),
                 std::move(initialFile), severalFiles, false});
  }
  std::string Save(std::string title, std::string filter, std::string initialFolder,
                   bool confirmOverwrite) {
    return First(Pick({PickerKind::Save,
                       std::move(title),
                       std::move(filter),
                       std::move(initialFolder),
                       {},
                       false,
                       confirmOverwrite}));
  }
  std::string Folder(std::string prompt) {
    return First(Pick({PickerKind::Folder, std::move(prompt), {}, {}, {}, false, false}));
  }

 private:
  static std::string First(std::vector<std::string> paths) {
    return paths.empty() ? std::string() : std::move(paths.front());
  }
};

}  // namespace lockvale
