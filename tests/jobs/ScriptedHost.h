#pragma once

#include <string>
#include <vector>

#include "ScriptedBoxes.h"
#include "jobs/JobHost.h"

namespace lockvale::test {

// A front end that records what a job shows and answers its questions by script.
class ScriptedHost : public JobHost {
 public:
  ScriptedHost() { cipher.SetNotifier(&notifier); }

  MessageBoxes& Boxes() override { return boxes; }
  cEncrypt& Cipher() override { return cipher; }
  void SetStatusText(const std::string& text) override { statuses.push_back(text); }
  void StartProgress(std::uint64_t maximum) override {
    progressMaximum = maximum;
    progressFilled = false;
  }
  void FillProgress() override { progressFilled = true; }
  void DisplayString(const std::string& text) override { shown = text; }

  ScriptedBoxes boxes;
  cEncrypt cipher;
  MessageBoxNotifier notifier{boxes};
  std::vector<std::string> statuses;
  std::uint64_t progressMaximum = 0;
  bool progressFilled = false;
  std::string shown;
};

}  // namespace lockvale::test
