#pragma once

#include <cstddef>
#include <string>

#include "jobs/BatchEntry.h"

namespace lockvale {

// The batch list as the batch job sees it: rows in display order, addressed from 0.
// The job changes it only by clearing a delete-source flag, removing a row, and
// marking the rows that failed.
class BatchList {
 public:
  virtual ~BatchList() = default;
  virtual std::size_t Count() const = 0;
  virtual BatchEntry Row(std::size_t index) const = 0;
  virtual void KeepSource(std::size_t index) = 0;  // its delete-source flag is cleared
  virtual void Remove(std::size_t index) = 0;
  virtual void MarkFailed(std::size_t index, const std::string& reason) = 0;
  virtual void ClearMarks() = 0;
};

}  // namespace lockvale
