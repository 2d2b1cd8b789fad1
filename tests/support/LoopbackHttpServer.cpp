#include "support/LoopbackHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <stdexcept>

namespace vantrel::testsupport {

namespace {

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer() {
    if (!m_server.listen(QHostAddress::LocalHost, 0)) {
        throw std::runtime_error("loopback server cannot listen: " + m_server.errorString().toStdString());
    }
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::accept);
}

LoopbackHttpServer::~LoopbackHttpServer() {
    m_server.close();
}

QUrl LoopbackHttpServer::baseUrl() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
}

void LoopbackHttpServer::enqueue(Reply reply) {
    m_replies.push_back(std::move(reply));
}

void LoopbackHttpServer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        m_pending.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void LoopbackHttpServer::readFrom(QTcpSocket* socket) {
    if (!m_pending.contains(socket)) {
        return;
    }
    QByteArray& buffer = m_pending[socket].buffer;
    buffer += socket->readAll();
    Request request;
    while (takeRequest(buffer, request)) {
        m_requests.push_back(request);
        answer(socket);
    }
}

bool LoopbackHttpServer::takeRequest(QByteArray& buffer, Request& request) {
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        return false;
    }
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.front().trimmed().split(' ');
    Request parsed;
    parsed.method = requestLine.value(0);
    parsed.target = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0) {
            parsed.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                  lines[i].mid(colon + 1).trimmed());
        }
    }
    const qsizetype bodyLength = parsed.headers.value("content-length", "0").toLongLong();
    const qsizetype bodyStart = headerEnd + 4;
    if (buffer.size() - bodyStart < bodyLength) {
        return false;
    }
    parsed.body = buffer.mid(bodyStart, bodyLength);
    buffer.remove(0, bodyStart + bodyLength);
    request = std::move(parsed);
    return true;
}

void LoopbackHttpServer::answer(QTcpSocket* socket) {
    Reply reply{404, "not found", "text/plain"};
    if (!m_replies.empty()) {
        reply = std::move(m_replies.front());
        m_replies.pop_front();
    }
    if (reply.hang) {
        return;
    }
    QByteArray response = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) +
                          "\r\nContent-Type: " + reply.contentType +
                          "\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                          "\r\nConnection: close\r\n\r\n" + reply.body;
    socket->write(response);
    socket->disconnectFromHost();
}

} // namespace vantrel::testsupport
