#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

namespace vantrel::objectstore {
class Context;
}

namespace vantrel::platform {
class HttpClient;
class UserDefaults;
} // namespace vantrel::platform

namespace vantrel::model {

// The currency list's refresh at start-up: one GET of "<service>/currencies.plist?token=...",
// applied to the main context when it answers. The request itself holds nothing of the store; the
// answer comes back through the main thread's event loop, where the context lives. Failures only
// log: there is no retry before the next start.
class CurrencyRefresh : public QObject {
    Q_OBJECT

public:
    // User default that names the web service, e.g. "https://service.example.com/v1".
    static constexpr auto kServiceBaseUrlKey = "_VTServiceBaseURL";
    // Environment variable consulted when the user default is not set.
    static constexpr auto kServiceUrlVariable = "VANTREL_SERVICE_URL";
    static constexpr std::chrono::milliseconds kDefaultTimeout{30'000};

    // `save` is called after a refresh that changed a rate.
    CurrencyRefresh(objectstore::Context& context, platform::UserDefaults& defaults,
                    platform::HttpClient& http, std::function<void()> save, QObject* parent = nullptr);

    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // Sends the request; returns false (after logging why) when no service address is configured.
    bool start();

    // "m6.1" for the kernel version "6.1.0-18-amd64": the running system's major and minor
    // version, the way the service tells systems apart. The kernel stands in for the system
    // version because it is the one version every Linux machine reports the same way; a text
    // without a version reads as "m0.0".
    static QString systemTag(const QString& kernelVersion);
    // "<databaseID>_<systemTag>".
    static QString token(const QString& databaseID, const QString& systemTag);
    // The user default, else the environment variable; nothing when neither is a usable address.
    static std::optional<QUrl> serviceBaseUrl(const platform::UserDefaults& defaults);
    // "<base>/currencies.plist?token=<token, percent-encoded>".
    static QUrl requestUrl(const QUrl& base, const QString& token);

signals:
    // The answer (or failure) has been handled.
    void finished();

private:
    void handleResponse(int status, const QByteArray& body, const QString& error);

    objectstore::Context& m_context;
    platform::UserDefaults& m_defaults;
    platform::HttpClient& m_http;
    std::function<void()> m_save;
    std::chrono::milliseconds m_timeout = kDefaultTimeout;
};

} // namespace vantrel::model
