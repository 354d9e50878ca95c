#pragma once

// A one-file HTTP server on 127.0.0.1 for tests: every GET is answered with the body
// and status chosen, after an optional delay (a server that is slow past a time
// limit). It lives on the test's event loop and stops with the object.
//
// StreamingHttpServer answers one GET with a body of any size, made as it goes, from a
// thread of its own and as fast as the client takes it, as a real server pushes a
// large file.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

namespace morvane::testing {

class LocalHttpServer {
 public:
  int status = 200;
  QByteArray body;
  int delayMs = 0;      // before the answer is sent
  bool silent = false;  // never answers
  QList<QByteArray> requests;

  LocalHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Serve(socket); });
      }
    });
  }

  bool Listening() const { return server_.isListening(); }
  QString Address(const QString& path = QStringLiteral("/Products/Morvane/morvane.js")) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }

 private:
  void Serve(QTcpSocket* socket) {
    QByteArray& buffer = buffers_[socket];
    buffer += socket->readAll();
    if (!buffer.contains("\r\n\r\n")) return;
    requests << buffer.left(buffer.indexOf("\r\n"));
    buffers_.remove(socket);
    if (silent) return;
    QPointer<QTcpSocket> alive(socket);
    const auto answer = [this, alive] {
      if (!alive) return;
      QByteArray response =
          "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Error") +
          "\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) +
          "\r\nConnection: close\r\n\r\n" + body;
      alive->write(response);
      alive->disconnectFromHost();
    };
    if (delayMs > 0) {
      QTimer::singleShot(delayMs, socket, answer);
    } else {
      answer();
    }
  }

  QTcpServer server_;
  QHash<QTcpSocket*, QByteArray> buffers_;
};

class StreamingHttpServer {
 public:
  // A body of bodyBytes blanks, with or without a Content-Length.
  StreamingHttpServer(qint64 bodyBytes, bool declareLength) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener_, 1) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, bodyBytes, declareLength] { Serve(bodyBytes, declareLength); });
  }
  ~StreamingHttpServer() {
    stop_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    const int client = client_.exchange(-1);
    if (client >= 0) ::shutdown(client, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    ::close(listener_);
  }
  StreamingHttpServer(const StreamingHttpServer&) = delete;
  StreamingHttpServer& operator=(const StreamingHttpServer&) = delete;

  bool Listening() const { return port_ != 0; }
  QString Address() const { return QStringLiteral("http://127.0.0.1:%1/Products/Morvane/morvane.js").arg(port_); }
  // The body's bytes that went out, so far.
  qint64 Sent() const { return sent_; }

 private:
  void Serve(qint64 bodyBytes, bool declareLength) {
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    client_ = client;
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n")) {
      const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, n);
    }
    QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n";
    if (declareLength) head += "Content-Length: " + QByteArray::number(bodyBytes) + "\r\n";
    head += "Connection: close\r\n\r\n";
    ::send(client, head.constData(), static_cast<std::size_t>(head.size()), MSG_NOSIGNAL);
    const std::vector<char> chunk(64 * 1024, ' ');
    while (!stop_ && sent_ < bodyBytes) {
      const auto n = static_cast<std::size_t>(std::min<qint64>(static_cast<qint64>(chunk.size()), bodyBytes - sent_));
      const ssize_t written = ::send(client, chunk.data(), n, MSG_NOSIGNAL);
      if (written <= 0) break;  // the client is gone
      sent_ += written;
    }
    if (client_.exchange(-1) >= 0) ::close(client);
  }

  int listener_ = -1;
  quint16 port_ = 0;
  std::atomic<int> client_{-1};
  std::atomic<bool> stop_{false};
  std::atomic<qint64> sent_{0};
  std::thread thread_;
};

}  // namespace morvane::testing
