#pragma once

#include <cstdint>
#include <vector>

#include "jobs/JobHost.h"
#include "jobs/JobRequest.h"

namespace lockvale {

// Encrypts the request's text into grouped hexadecimal digits, or reads such digits
// back and decrypts them; the host shows the result in place of the text. A sealed text holds
// the text as UTF-8, whatever the code page; its digits are told apart by the sealed magic.
// Whether the text job runs the slow key derivation: it seals, or opens a sealed text.
bool TextJobDerivesKey(const JobRequest& request);

class TextJob {
 public:
  TextJob(const JobRequest& request, JobHost& host) : m_Request(request), m_Host(host) {}
  void Run();

 private:
  void Encrypt();
  void Decrypt();
  void Seal();
  void Open(const std::vector<std::uint8_t>& sealed);

  const JobRequest& m_Request;
  JobHost& m_Host;
};

}  // namespace lockvale
