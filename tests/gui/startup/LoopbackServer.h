#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <string>
#include <vector>

namespace lockvale::test {

// HTTP on 127.0.0.1, served by the owning thread while the client under test waits in its own
// event loop; one request per connection. `extraHeaders`: whole lines, each ending in "\r\n".
class LoopbackServer : public QObject {
 public:
  LoopbackServer() {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection())
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
          const QByteArray head = socket->peek(socket->bytesAvailable());  // buffered till whole
          if (!head.contains("\r\n\r\n")) return;
          requests_.push_back(head.left(head.indexOf("\r\n\r\n")).toStdString());
          socket->disconnect(this);
          socket->write(answer_.data(), std::ssize(answer_));
          if (!answer_.empty()) socket->disconnectFromHost();
        });
    });
    server_.listen(QHostAddress::LocalHost);
  }
  quint16 Port() const { return server_.serverPort(); }
  std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(Port()); }
  void Serve(std::string body, int status = 200, std::string extraHeaders = {}) {
    answer_ = "HTTP/1.1 " + std::to_string(status) +
              " Answer\r\nConnection: close\r\nContent-Length: " + std::to_string(body.size()) +
              "\r\n" + extraHeaders + "\r\n" + body;
  }
  void NeverAnswer() { answer_.clear(); }
  std::vector<std::string> Requests() const { return requests_; }

 private:
  QTcpServer server_;
  std::string answer_;
  std::vector<std::string> requests_;
};

}  // namespace lockvale::test
