#include "model/CurrencyRefresh.h"

#include "model/CurrencyList.h"
#include "model/Global.h"
#include "platform/HttpClient.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"

#include <QPointer>
#include <QRegularExpression>
#include <QSysInfo>

namespace vantrel::model {

CurrencyRefresh::CurrencyRefresh(objectstore::Context& context, platform::UserDefaults& defaults,
                                 platform::HttpClient& http, std::function<void()> save, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_defaults(defaults)
    , m_http(http)
    , m_save(std::move(save)) {}

QString CurrencyRefresh::systemTag(const QString& kernelVersion) {
    static const QRegularExpression majorMinor(QStringLiteral("^\\s*(\\d+)\\.(\\d+)"));
    const QRegularExpressionMatch match = majorMinor.match(kernelVersion);
    if (!match.hasMatch()) {
        return QStringLiteral("m0.0");
    }
    return QStringLiteral("m%1.%2").arg(match.captured(1).toInt()).arg(match.captured(2).toInt());
}

QString CurrencyRefresh::token(const QString& databaseID, const QString& systemTag) {
    return QStringLiteral("%1_%2").arg(databaseID, systemTag);
}

std::optional<QUrl> CurrencyRefresh::serviceBaseUrl(const platform::UserDefaults& defaults) {
    QString text = defaults.stringValue(QString::fromLatin1(kServiceBaseUrlKey)).trimmed();
    if (text.isEmpty()) {
        text = qEnvironmentVariable(kServiceUrlVariable).trimmed();
    }
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid() || url.scheme().isEmpty() || url.host().isEmpty()) {
        return std::nullopt;
    }
    return url;
}

QUrl CurrencyRefresh::requestUrl(const QUrl& base, const QString& token) {
    QUrl url = base;
    QString path = base.path();
    while (path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    url.setPath(path + QStringLiteral("/currencies.plist"));
    url.setQuery(QStringLiteral("token=") + QString::fromLatin1(QUrl::toPercentEncoding(token)),
                 QUrl::StrictMode);
    url.setFragment({});
    return url;
}

bool CurrencyRefresh::start() {
    const std::optional<QUrl> base = serviceBaseUrl(m_defaults);
    if (!base) {
        platform::Log::write(QStringLiteral("Currency refresh skipped: no service address configured"));
        return false;
    }
    const QString databaseID = Global::sharedInstanceInContext(m_context).databaseID();
    const QUrl url = requestUrl(*base, token(databaseID, systemTag(QSysInfo::kernelVersion())));
    // The completion holds only a guarded pointer to this object: the store is reached again on
    // the main thread, and not at all when the refresh was torn down meanwhile.
    QPointer<CurrencyRefresh> self(this);
    m_http.get(url, m_timeout, [self](const platform::HttpClient::Response& response) {
        if (self) {
            self->handleResponse(response.status, response.body, response.error);
        }
    });
    return true;
}

void CurrencyRefresh::handleResponse(int status, const QByteArray& body, const QString& error) {
    if (!error.isEmpty()) {
        platform::Log::write(QStringLiteral("Error getting rates: %1").arg(error));
    } else if (status != 200) {
        platform::Log::write(
            QStringLiteral("Error getting rates: The server answered with HTTP status %1.").arg(status));
    } else if (CurrencyList::updateCurrenciesInContext(m_context, body, m_defaults) && m_save) {
        m_save();
    }
    emit finished();
}

} // namespace vantrel::model
