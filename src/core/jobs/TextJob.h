#pragma once

#include "jobs/JobHost.h"
#include "jobs/JobRequest.h"

namespace lockvale {

// Encrypts the request's text into grouped hexadecimal digits, or reads such digits
// back and decrypts them; the host shows the result in place of the text.
class TextJob {
 public:
  TextJob(const JobRequest& request, JobHost& host) : m_Request(request), m_Host(host) {}
  void Run();

 private:
  void Encrypt();
  void Decrypt();

  const JobRequest& m_Request;
  JobHost& m_Host;
};

}  // namespace lockvale
