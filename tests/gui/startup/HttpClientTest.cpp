// The update check's HTTP client against a server on the loopback interface.
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "gui/startup/LoopbackServer.h"
#include "startup/clsHTTP.h"

class HttpClientTest : public QObject {
  Q_OBJECT
  lockvale::test::LoopbackServer server;
  lockvale::clsHTTP http;
  const std::string host = server.HostAndPort();
  std::string data = "stale";

 private slots:
  void sendsOneUncachedRequestAndTakesTheLastAnswer() {
    lockvale::test::LoopbackServer moved;  // the answer comes from there, after a redirect
    moved.Serve("1.05", 200, "Last-Modified: Tue, 01 Jul 2025\r\nForwarded: for=x\r\n");
    server.Serve("", 301, "Location: http://" + moved.HostAndPort() + "/\r\nForwarded: hop\r\n");
    QVERIFY(http.GetFile("http://" + host + "/v.txt", "", data, true, "X-Probe: 1"));
    QVERIFY(http.Connect(host, "pragma: cached"));
    QVERIFY(data == "1.05" && http.LastUrl() == host && http.ContentLength() == 4);
    QVERIFY(http.LastModified() == "Tue, 01 Jul 2025" && http.Forwarded() == "for=x");
    const QString withPath = QString::fromStdString(server.Requests().at(0));
    const QString bare = QString::fromStdString(server.Requests().at(1));
    QVERIFY(withPath.startsWith("GET /v.txt HTTP/1.1\r\n") && withPath.contains("\nX-Probe: 1\r"));
    QVERIFY(bare.startsWith("GET / HTTP/1.1\r\n"));  // the path of a bare host
    for (const char* line : {"\nUser-Agent: http protocol\r", "\nCache-Control: no-cache\r",
                             "\nPragma: no-cache\r", "\nPragma:"})
      QCOMPARE(bare.count(line, Qt::CaseInsensitive), 1);
    // Of a long answer only the first 4 KiB are read, and a file is not written with them.
    const QByteArray line = "<p>Not a multiple of the chunk size.</p>", page = line.repeated(60);
    server.Serve(line.repeated(100'000).toStdString(), 404);
    QVERIFY(http.GetFile(host, "", data, true, "") &&
            data == line.repeated(103).left(4096).toStdString());
    const QTemporaryDir dir;
    QFile file(dir.filePath("LockvaleVersion.txt"));
    std::ofstream(file.fileName().toStdString()) << std::string(300 * 1024, 'x');
    server.Serve(line.repeated(100'000).toStdString());
    QVERIFY(!http.GetFile(host, file.fileName().toStdString(), data, false, ""));
    QCOMPARE(file.size(), 300 * 1024);
    server.Serve(page.toStdString(), 404);
    QVERIFY(http.GetFile(host, file.fileName().toStdString(), data, false, ""));
    QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == page);
  }

  void failsLeavingDataAlone() {
    QVERIFY(!http.GetFile("HTTP://" + host + "/v.txt", "", data = "kept", true, ""));
    QVERIFY(http.LastError() == "InternetConnect failed" && http.LastUrl().empty());
    QVERIFY(!http.GetFile("127.0.0.1:1", "", data, true, ""));  // nothing listens on port 1
    QVERIFY(http.LastError() == "HttpSendRequest failed");
    server.NeverAnswer();
    http.SetTimeLimit(std::chrono::milliseconds(300));
    QVERIFY(!http.GetFile(host, "", data, true, ""));  // the test's time-out catches a hang
    QVERIFY(http.LastError() == "HttpSendRequest failed" && data == "kept");
  }
};

QTEST_MAIN(HttpClientTest)
#include "HttpClientTest.moc"
