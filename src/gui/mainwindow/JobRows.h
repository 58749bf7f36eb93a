#pragma once

#include <vector>

#include "jobs/BatchList.h"

class QObject;

namespace lockvale {

class BatchListView;

// The batch list as a job on a worker thread sees it: a copy taken on the window's thread when
// the job starts, as the list rests while it runs. Reads come from the copy; each change is made
// to the copy and posted to the list, in order, so the two agree once the job is done.
class JobRows : public BatchList {
 public:
  JobRows(BatchListView& view, QObject* context);

  std::size_t Count() const override { return m_Rows.size(); }
  BatchEntry Row(std::size_t index) const override { return m_Rows.at(index); }
  void KeepSource(std::size_t index) override;
  void Remove(std::size_t index) override;
  void MarkFailed(std::size_t index, const std::string& reason) override;
  void ClearMarks() override;

 private:
  BatchListView& m_View;
  QObject* m_Context;  // lives on the window's thread as long as the job
  std::vector<BatchEntry> m_Rows;
};

}  // namespace lockvale
