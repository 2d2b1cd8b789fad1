#include "platform/QtHttpClient.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace vantrel::platform {

QtHttpClient::QtHttpClient(QObject* parent)
    : QObject(parent) {}

QString QtHttpClient::timeoutDescription() {
    return QStringLiteral("The request timed out.");
}

void QtHttpClient::get(const QUrl& url, std::chrono::milliseconds timeout, Completion completion) {
    QNetworkRequest request(url);
    // Every request asks the server again: rates must never come from a stale cached copy.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    QNetworkReply* reply = m_network.get(request);

    // A whole-request deadline: Qt's own transfer timeout only watches for silence between bytes,
    // so a server trickling data could hold the request open for ever.
    auto timedOut = std::make_shared<bool>(false);
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [reply, timedOut] {
        *timedOut = true;
        reply->abort();
    });
    deadline->start(timeout);

    connect(reply, &QNetworkReply::finished, this,
            [reply, deadline, timedOut, completion = std::move(completion)] {
                deadline->stop();
                reply->deleteLater();
                Response response;
                if (*timedOut) {
                    response.error = timeoutDescription();
                    completion(response);
                    return;
                }
                response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                if (response.status == 0) {
                    response.error = reply->errorString();
                    if (response.error.isEmpty()) {
                        response.error = QStringLiteral("No answer from %1.").arg(reply->url().host());
                    }
                    completion(response);
                    return;
                }
                response.body = reply->readAll();
                completion(response);
            });
}

} // namespace vantrel::platform
