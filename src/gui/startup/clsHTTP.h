#pragma once

#include <QDeadlineTimer>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QNetworkAccessManager;
class QNetworkReply;

namespace lockvale {

// A plain HTTP GET client for the update check. It waits in local event loops on the calling
// (window) thread, so the window stays alive, and one deadline bounds each whole fetch.
class clsHTTP {
 public:
  clsHTTP();
  ~clsHTTP();
  clsHTTP(const clsHTTP&) = delete;
  clsHTTP& operator=(const clsHTTP&) = delete;

  // Sends a GET for `Url` ("http://" optional, then host or host:port, then the path) and waits
  // for the answer's headers. An answer of any HTTP status counts; redirects to http or https
  // are followed.
  bool Connect(const std::string& Url, const std::string& AdditionalHeader);
  // Connect, then the body, at most its first 4 KiB, into `Data` (when `ToString` or `FileName`
  // is empty) or in place of the file. False when Connect fails (nothing touched), or the file
  // cannot be written or the whole body does not come (the file is left as it was).
  bool GetFile(const std::string& Url, const std::string& FileName, std::string& Data,
               bool ToString, const std::string& AdditionalHeader);

  std::int32_t ContentLength() const { return m_Headers.contentLength; }
  std::string LastModified() const { return m_Headers.lastModified; }
  std::string Forwarded() const { return m_Headers.forwarded; }
  std::string LastError() const { return m_LastError; }
  std::string LastUrl() const { return m_LastUrl; }
  // Bounds Connect and the body together; longer limits are cut to the default.
  void SetTimeLimit(std::chrono::milliseconds limit);

 private:
  struct Headers {
    std::int32_t contentLength = 0;
    std::string lastModified;
    std::string forwarded;
  };
  using Sink = std::function<void(const char*, std::size_t)>;

  bool Fail(std::string error);
  bool AwaitHeaders();
  void ReadHeaders();
  bool ReadBody(const Sink& sink);
  bool ReadBodyToFile(const std::string& FileName);
  void Wait();

  std::unique_ptr<QNetworkAccessManager> m_Session;
  std::unique_ptr<QNetworkReply> m_Request;
  QDeadlineTimer m_Deadline;
  std::chrono::milliseconds m_TimeLimit;
  Headers m_Headers;
  std::string m_LastError;
  std::string m_LastUrl;
};

}  // namespace lockvale
