#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ScriptedBoxes.h"
#include "jobs/JobHost.h"

namespace lockvale::test {

// The batch list as plain rows, with the reason each failed row was marked with.
struct RowsList : BatchList {
  std::size_t Count() const override { return rows.size(); }
  BatchEntry Row(std::size_t index) const override { return rows.at(index); }
  void KeepSource(std::size_t index) override { rows.at(index).deleteSource = false; }
  void Remove(std::size_t index) override { rows.erase(rows.begin() + index); }
  void MarkFailed(std::size_t index, const std::string& reason) override {
    failed.resize(rows.size());
    failed.at(index) = reason;
  }
  void ClearMarks() override { failed.assign(rows.size(), ""); }

  std::vector<BatchEntry> rows;
  std::vector<std::string> failed;
};

// A front end that records what a job shows and answers its questions by script.
class ScriptedHost : public JobHost {
 public:
  MessageBoxes& Boxes() override { return boxes; }
  cEncrypt& Cipher() override { return cipher; }
  void SetStatusText(const std::string& text) override { statuses.push_back(text); }
  void StartProgress(std::uint64_t maximum) override {
    progressMaximum = maximum;
    progressFilled = false;
  }
  void FillProgress() override { progressFilled = true; }
  void DisplayString(const std::string& text) override { shown = text; }
  BatchList& BatchRows() override { return list; }
  // Keeps the name of each source the job moves to the trash, and removes the file.
  std::optional<std::string> MoveSourceToTrash(const std::string& path) override {
    trashed.push_back(path);
    std::filesystem::remove(path);
    return std::nullopt;
  }

  ScriptedBoxes boxes;
  cEncrypt cipher;
  std::vector<std::string> statuses;
  std::uint64_t progressMaximum = 0;
  bool progressFilled = false;
  std::string shown;
  RowsList list;
  std::vector<std::string> trashed;
};

}  // namespace lockvale::test
