#pragma once

// A one-file HTTP server on 127.0.0.1 for tests: every GET is answered with the body
// and status chosen, after an optional delay (a server that is slow past a time
// limit). It lives on the test's event loop and stops with the object.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

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

}  // namespace morvane::testing
