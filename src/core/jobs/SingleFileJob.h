#pragma once

#include <optional>
#include <string>

#include "format/FormatResult.h"
#include "format/SealedKeys.h"
#include "jobs/JobHost.h"
#include "jobs/JobRequest.h"

namespace lockvale {

// Encrypts or decrypts the one file the request names, after its checks and
// questions; a job stopped by either leaves everything as it was.
class SingleFileJob {
 public:
  SingleFileJob(const JobRequest& request, JobHost& host)
      : m_Request(request), m_Host(host), m_SealedKeys(request.keyText.View(), request.kdf) {}
  void Run();

 private:
  bool DestinationSettled();
  FormatResult Transform();

  const JobRequest& m_Request;
  JobHost& m_Host;
  SealedKeyring m_SealedKeys;
  std::string FileName;   // source
  std::string FileName2;  // destination
  bool m_ReplaceExisting = false;
  std::optional<std::string> m_SourceKept;  // why the source to delete is still there
};

}  // namespace lockvale
