#pragma once

#include <vector>

#include "jobs/BatchList.h"

class QTreeWidget;

namespace lockvale {

// The batch list widget as rows of BatchEntry: the source, destination, overwrite and
// delete-source columns, and a check box per row that marks it for removal.
class BatchListView : public BatchList {
 public:
  explicit BatchListView(QTreeWidget* list) : m_List(list) {}

  std::size_t Count() const override;
  BatchEntry Row(std::size_t index) const override;
  void KeepSource(std::size_t index) override;
  void Remove(std::size_t index) override;
  void MarkFailed(std::size_t index, const std::string& reason) override;
  void ClearMarks() override;

  // All in one insertion, so a large list is laid out once.
  void Append(const std::vector<BatchEntry>& rows);
  void Replace(std::size_t index, const BatchEntry& row);  // the new row is unmarked
  void RemoveMarked();
  void Clear();

 private:
  QTreeWidget* m_List;
};

}  // namespace lockvale
