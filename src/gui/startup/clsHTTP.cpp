#include "startup/clsHTTP.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace lockvale {

namespace {

constexpr std::chrono::milliseconds kLongestFetch{5000};
constexpr std::size_t kChunkSize = 2048;
// The version file is one short line; a server that sends more is not read further.
constexpr std::size_t kLongestBody = 4096;

std::string WithoutScheme(const std::string& Url) {
  constexpr std::string_view kScheme = "http://";
  return Url.starts_with(kScheme) ? Url.substr(kScheme.size()) : Url;
}

// A host with an optional port and nothing else: no user, path, query or fragment, and no ":"
// without a port after it.
bool IsServer(const std::string& server) {
  const QUrl url(QStringLiteral("http://") + QString::fromStdString(server), QUrl::StrictMode);
  return url.isValid() && !url.host().isEmpty() && url.userInfo().isEmpty() &&
         url.path().isEmpty() && !url.hasQuery() && !url.hasFragment() && !server.ends_with(':');
}

// "Name: value"; not added when a header of that name is already set.
void AddHeaderIfAbsent(QNetworkRequest& request, const std::string& header) {
  const std::size_t colon = header.find(':');
  if (colon == std::string::npos) return;
  const QByteArray name = QByteArray::fromStdString(header.substr(0, colon)).trimmed();
  if (name.isEmpty() || request.hasRawHeader(name)) return;
  request.setRawHeader(name, QByteArray::fromStdString(header.substr(colon + 1)).trimmed());
}

QNetworkRequest MakeRequest(const std::string& url, const std::string& AdditionalHeader) {
  QNetworkRequest request(QUrl(QStringLiteral("http://") + QString::fromStdString(url)));
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  // Lets the update host move, also to https, but never from https back to http.
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setRawHeader("User-Agent", "http protocol");
  // Caching proxies on the way must fetch afresh as well.
  request.setRawHeader("Cache-Control", "no-cache");
  request.setRawHeader("Pragma", "no-cache");
  AddHeaderIfAbsent(request, AdditionalHeader);
  return request;
}

// A redirect being followed is not the answer yet; one that is refused or fails ends the reply
// and is. Its status can come before its headers, so a redirect is told by the status alone.
bool HeadersArrived(const QNetworkReply& reply) {
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  const bool redirecting = status.toInt() / 100 == 3;
  return status.isValid() && (!redirecting || reply.isFinished());
}

std::string HeaderText(const QNetworkReply& reply, const char* name) {
  return reply.rawHeader(name).trimmed().toStdString();
}

// The server's answer came to its end; an answer with an error status counts, a broken
// transfer does not.
bool BodyEnded(const QNetworkReply& reply) {
  const QNetworkReply::NetworkError error = reply.error();
  return reply.isFinished() && reply.bytesAvailable() == 0 &&
         (error == QNetworkReply::NoError || error >= QNetworkReply::ContentAccessDenied);
}

}  // namespace

clsHTTP::clsHTTP() : m_TimeLimit(kLongestFetch) {
  // Replies are delivered through the application's event loop; without one nothing arrives.
  if (QCoreApplication::instance() == nullptr) {
    m_LastError = "InternetOpen failed.";
    return;
  }
  QNetworkProxyFactory::setUseSystemConfiguration(true);
  m_Session = std::make_unique<QNetworkAccessManager>();
}

clsHTTP::~clsHTTP() = default;

bool clsHTTP::Connect(const std::string& Url, const std::string& AdditionalHeader) {
  const std::string url = WithoutScheme(Url);
  m_LastUrl.clear();
  m_Request.reset();
  m_Headers = {};
  if (!m_Session) return Fail("InternetSession failed");
  if (!IsServer(url.substr(0, url.find('/')))) return Fail("InternetConnect failed");
  m_Deadline = QDeadlineTimer(m_TimeLimit);
  m_Request.reset(m_Session->get(MakeRequest(url, AdditionalHeader)));
  m_Request->setReadBufferSize(kLongestBody);  // however long the answer, memory holds no more
  if (!AwaitHeaders()) {
    m_Request.reset();
    return Fail("HttpSendRequest failed");
  }
  ReadHeaders();
  m_LastUrl = url;
  m_LastError.clear();
  return true;
}

bool clsHTTP::GetFile(const std::string& Url, const std::string& FileName, std::string& Data,
                      bool ToString, const std::string& AdditionalHeader) {
  if (!Connect(Url, AdditionalHeader)) return false;
  m_LastError.clear();
  if (!ToString && !FileName.empty()) return ReadBodyToFile(FileName);
  Data.clear();
  ReadBody([&Data](const char* bytes, std::size_t size) { Data.append(bytes, size); });
  return true;
}

void clsHTTP::SetTimeLimit(std::chrono::milliseconds limit) {
  m_TimeLimit = std::clamp(limit, std::chrono::milliseconds::zero(), kLongestFetch);
}

bool clsHTTP::Fail(std::string error) {
  m_LastError = std::move(error);
  return false;
}

bool clsHTTP::AwaitHeaders() {
  while (!HeadersArrived(*m_Request) && !m_Request->isFinished() && !m_Deadline.hasExpired())
    Wait();
  return HeadersArrived(*m_Request);
}

void clsHTTP::ReadHeaders() {
  const QByteArray length = m_Request->rawHeader("Content-Length").trimmed();
  std::from_chars(length.constData(), length.constData() + length.size(), m_Headers.contentLength);
  m_Headers.lastModified = HeaderText(*m_Request, "Last-Modified");
  m_Headers.forwarded = HeaderText(*m_Request, "Forwarded");
}

// Takes what has arrived in chunks and waits for more, until the body ends, the transfer
// fails, the time is up or kLongestBody bytes have come; what was read by then is kept. True
// when that was the whole body.
bool clsHTTP::ReadBody(const Sink& sink) {
  std::array<char, kChunkSize> chunk;
  std::size_t room = kLongestBody;
  for (;;) {
    const qint64 got = m_Request->read(chunk.data(), std::min(chunk.size(), room));
    if (got > 0) {
      sink(chunk.data(), static_cast<std::size_t>(got));
      room -= static_cast<std::size_t>(got);
    } else if (got < 0 || room == 0 || m_Request->isFinished() || m_Deadline.hasExpired()) {
      break;
    } else {
      Wait();
    }
  }
  const bool whole = BodyEnded(*m_Request);
  m_Request->abort();
  m_Request.reset();
  return whole;
}

// The body goes to a temporary file beside the target, which takes the name only at the end and
// only when the whole body came, so no half-written file ever stands under it.
bool clsHTTP::ReadBodyToFile(const std::string& FileName) {
  QSaveFile file(QString::fromStdString(FileName));
  if (!file.open(QIODevice::WriteOnly)) {
    m_Request.reset();
  } else if (!ReadBody([&file](const char* bytes, std::size_t size) { file.write(bytes, size); })) {
    return Fail("Incomplete answer; " + FileName + " left as it was");
  } else if (file.commit()) {
    return true;
  }
  return Fail("Cannot write " + FileName + ": " + file.errorString().toStdString());
}

// Returns when the reply has news or the deadline has passed.
void clsHTTP::Wait() {
  QEventLoop loop;
  QObject::connect(m_Request.get(), &QNetworkReply::metaDataChanged, &loop, &QEventLoop::quit);
  QObject::connect(m_Request.get(), &QNetworkReply::readyRead, &loop, &QEventLoop::quit);
  QObject::connect(m_Request.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(m_Deadline.remainingTimeAsDuration());
  QTimer::singleShot(left, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace lockvale
