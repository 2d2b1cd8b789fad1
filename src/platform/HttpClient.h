#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>

namespace vantrel::platform {

// Plain HTTP requests for the web services. The answer arrives later, through the event loop of
// the thread that asked, so a caller can touch its own objects from the completion without locks.
class HttpClient {
public:
    struct Response {
        // The server's status code; 0 when no answer arrived.
        int status = 0;
        QByteArray body;
        // Why no answer arrived (refused connection, timeout, ...); empty when the server
        // answered, whatever its status.
        QString error;

        bool failed() const { return !error.isEmpty(); }
    };
    using Completion = std::function<void(const Response&)>;

    virtual ~HttpClient() = default;

    // A GET that is abandoned, and reported as an error, when no complete answer arrived within
    // `timeout`. The completion runs exactly once, unless the client is destroyed first.
    virtual void get(const QUrl& url, std::chrono::milliseconds timeout, Completion completion) = 0;
};

} // namespace vantrel::platform
