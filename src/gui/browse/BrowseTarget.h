#pragma once

#include <string>
#include <vector>

#include "jobs/BatchEntry.h"

namespace lockvale {

// What the browse dialog reads from and writes into the main window.
class BrowseTarget {
 public:
  virtual ~BrowseTarget() = default;
  virtual bool Encrypting() const = 0;
  virtual Format WritingFormat() const = 0;  // what encrypting writes
  // The single-file names and the window's overwrite and delete-source boxes.
  virtual void SetSourceAndDestination(const std::string& source,
                                       const std::string& destination) = 0;
  virtual void SetFileFlags(bool overwrite, bool deleteSource) = 0;
  virtual bool HasSourceName() const = 0;  // txtFilename is not empty
  // The batch list: rows are appended in bulk, at the end.
  virtual int BatchRowCount() const = 0;
  virtual void ClearBatchList() = 0;
  virtual void AppendBatchRows(const std::vector<BatchEntry>& rows) = 0;
  // After a browse: Clear list when there are rows, Add when there is a source name.
  virtual void EnableListButtons(bool clear, bool add) = 0;
};

}  // namespace lockvale
