#pragma once

#include <QCoreApplication>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "support/ActiveFilePickers.h"

namespace lockvale::test {

// Stands in for the real pickers while it lives: records every request with the owner in
// force and answers from a queue. A request with no answer queued is cancelled.
class ScriptedPickers : public FilePickers {
 public:
  ScriptedPickers() { InstallFilePickers(this); }
  ~ScriptedPickers() override { InstallFilePickers(nullptr); }

  void Queue(std::vector<std::string> paths) { answers.push_back(std::move(paths)); }

  std::vector<std::string> Pick(const PickerRequest& request) override {
    asked.push_back(request);
    owners.push_back(FilePickerOwner());
    if (answers.empty()) return {};
    std::vector<std::string> paths = std::move(answers.front());
    answers.pop_front();
    return paths;
  }

  std::vector<PickerRequest> asked;
  std::vector<QWidget*> owners;
  std::deque<std::vector<std::string>> answers;
};

// What the program's own open dialogs ask: "Show Open" in the program's folder, several files.
inline PickerRequest ShowOpenRequest(std::string filter, std::string offered) {
  return {PickerKind::Open,
          "Show Open",
          std::move(filter),
          QCoreApplication::applicationDirPath().toStdString() + "/",
          std::move(offered),
          true,
          false};
}

}  // namespace lockvale::test
