#pragma once

#include <string>

#include "format/SealedKeys.h"
#include "jobs/JobHost.h"
#include "jobs/JobRequest.h"

namespace lockvale {

// Encrypts or decrypts every row of the batch list with the one key. Before each entry
// of an encryption it settles, with the user, the rows that would delete a source that a
// later row still reads. A row that fails, or whose source to remove stays, is marked and the
// run goes on; no row's failure removes another row's output. A run with failed rows ends by
// saying how many. A cancelled run keeps the rows done before it.
class BatchJob {
 public:
  BatchJob(const JobRequest& request, JobHost& host)
      : m_Request(request),
        m_Host(host),
        m_List(host.BatchRows()),
        m_SealedKeys(request.keyText.View(), request.kdf) {}
  void Run();

 private:
  bool SourcesSettled();
  enum class RowOutcome { Done, Skipped, Failed, Cancelled };
  void RunRows();
  RowOutcome Transform(std::size_t x, const BatchEntry& row);

  const JobRequest& m_Request;
  JobHost& m_Host;
  BatchList& m_List;
  SealedKeyring m_SealedKeys;  // one salt and one derivation for the whole run
  bool m_ListSettled = false;  // the last source-reuse pass asked nothing
  BatchTally m_Tally;
  std::string FileName;   // the entry's source
  std::string FileName2;  // the entry's destination
};

}  // namespace lockvale
