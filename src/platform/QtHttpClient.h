#pragma once

#include "platform/HttpClient.h"

#include <QNetworkAccessManager>
#include <QObject>

namespace vantrel::platform {

// HttpClient over Qt's network access: asynchronous, nothing cached, requests still running when
// the client is destroyed are abandoned without calling their completions.
class QtHttpClient final : public QObject, public HttpClient {
    Q_OBJECT

public:
    explicit QtHttpClient(QObject* parent = nullptr);

    void get(const QUrl& url, std::chrono::milliseconds timeout, Completion completion) override;

    // The error text of a request that ran out of time.
    static QString timeoutDescription();

private:
    QNetworkAccessManager m_network;
};

} // namespace vantrel::platform
