#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QUrl>

#include <deque>
#include <vector>

class QTcpSocket;

namespace vantrel::testsupport {

// A real HTTP/1.1 server on 127.0.0.1 for tests of web-service clients: answers requests in
// arrival order with the replies a test queued and records every request it received. Runs on the
// thread that made it; the test drives the event loop (see waitUntil).
class LoopbackHttpServer : public QObject {
    Q_OBJECT

public:
    struct Reply {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/x-plist";
        // Read the request, then never answer (a server that hangs).
        bool hang = false;
    };

    struct Request {
        QByteArray method;
        // Path and query as sent on the request line: "/currencies.plist?token=abc".
        QByteArray target;
        // Lower-case names.
        QMap<QByteArray, QByteArray> headers;
        QByteArray body;
    };

    // Listens on a free port; failing to listen throws std::runtime_error.
    LoopbackHttpServer();
    ~LoopbackHttpServer() override;

    // "http://127.0.0.1:<port>".
    QUrl baseUrl() const;

    // Replies are used in order; a request with none queued gets a 404.
    void enqueue(Reply reply);
    void enqueueOk(const QByteArray& body) { enqueue(Reply{200, body}); }

    const std::vector<Request>& requests() const { return m_requests; }

private:
    struct Pending {
        QByteArray buffer;
    };

    void accept();
    void readFrom(QTcpSocket* socket);
    // A whole request at the start of `buffer` is removed from it and returned.
    static bool takeRequest(QByteArray& buffer, Request& request);
    void answer(QTcpSocket* socket);

    QTcpServer m_server;
    std::deque<Reply> m_replies;
    std::vector<Request> m_requests;
    QMap<QTcpSocket*, Pending> m_pending;
};

} // namespace vantrel::testsupport
