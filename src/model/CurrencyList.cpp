#include "model/CurrencyList.h"

#include "model/Currency.h"
#include "model/IcuBridge.h"
#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"

#include <QDateTime>
#include <QFile>
#include <QVariantList>
#include <QVariantMap>

#include <unicode/ucurr.h>

#include <optional>
#include <vector>

namespace vantrel::model {

namespace {

struct Entry {
    QString code;
    QString name;
    Amount rate;
};

struct Counts {
    int added = 0;
    int updated = 0;
};

// The text form of a rate: strings as written, reals by their shortest exact text, so 0.1 stays
// 0.1 instead of 0.1000000000000000055.
std::optional<QString> rateText(const QVariant& rate) {
    switch (rate.typeId()) {
    case QMetaType::QString:
        return rate.toString();
    case QMetaType::Double:
        return platform::PropertyList::shortestDecimalText(rate.toDouble());
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(rate.toLongLong());
    default:
        return std::nullopt;
    }
}

// Why the element cannot be applied, or nothing when `entry` holds it.
std::optional<QString> readEntry(const QVariant& element, Entry& entry) {
    if (element.typeId() != QMetaType::QVariantMap) {
        return QStringLiteral("not a dictionary");
    }
    const QVariantMap map = element.toMap();
    const QVariant code = map.value(QStringLiteral("code"));
    if (code.typeId() != QMetaType::QString || code.toString().trimmed().isEmpty()) {
        return QStringLiteral("no code");
    }
    entry.code = code.toString();
    const QVariant name = map.value(QStringLiteral("name"));
    if (name.typeId() != QMetaType::QString) {
        return QStringLiteral("no name for %1").arg(entry.code);
    }
    entry.name = name.toString();
    const std::optional<QString> text = rateText(map.value(QStringLiteral("rate")));
    const std::optional<Amount> rate = text ? Currency::decimalFromStringRate(*text) : std::nullopt;
    // A rate of zero or below would make every conversion from the currency meaningless.
    if (!rate || rate->sign() <= 0) {
        return QStringLiteral("no usable rate for %1").arg(entry.code);
    }
    entry.rate = *rate;
    return std::nullopt;
}

std::vector<Entry> readEntries(const QVariantList& elements) {
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(elements.size()));
    for (qsizetype i = 0; i < elements.size(); ++i) {
        Entry entry;
        if (const std::optional<QString> problem = readEntry(elements.at(i), entry)) {
            platform::Log::write(QStringLiteral("Skipped currency list entry %1: %2").arg(i).arg(*problem));
            continue;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void apply(objectstore::Context& context, const Entry& entry, Counts& counts) {
    std::optional<Currency> existing = Currency::withCode(context, entry.code);
    if (!existing) {
        Currency currency = Currency::insertInContext(context);
        currency.setCode(entry.code);
        currency.setName(entry.name);
        currency.setRate(entry.rate);
        ++counts.added;
        return;
    }
    if (existing->name() != entry.name) {
        platform::Log::write(QStringLiteral("Updating name for currency %1").arg(entry.code));
        existing->setName(entry.name);
    }
    if (existing->rate() != entry.rate) {
        existing->setRate(entry.rate);
        ++counts.updated;
    }
}

} // namespace

bool CurrencyList::updateCurrenciesInContext(objectstore::Context& context, const QByteArray& data,
                                             platform::UserDefaults& defaults) {
    const platform::PropertyList::ReadResult parsed = platform::PropertyList::read(data);
    const QVariantMap root = parsed.value.toMap();
    const QVariant rates = root.value(QStringLiteral("rates"));
    if (!parsed.ok() || parsed.value.typeId() != QMetaType::QVariantMap ||
        rates.typeId() != QMetaType::QVariantList) {
        platform::Log::write(QStringLiteral("WARNING: UNEXPECTED currencies.plist"));
        return false;
    }
    const QVariantList elements = rates.toList();
    // Every entry is read before anything changes, so a bad entry cannot leave a half-applied list.
    const std::vector<Entry> entries = readEntries(elements);

    Counts counts;
    for (const Entry& entry : entries) {
        apply(context, entry, counts);
    }
    if (counts.added > 0) {
        platform::Log::write(QStringLiteral("Added %1 currencies").arg(counts.added));
    }
    if (counts.updated > 0) {
        platform::Log::write(QStringLiteral("Updated rate for %1 currencies").arg(counts.updated));
    }
    // Reported only: currencies are never deleted, and the ones the list names are up to date.
    if (context.count(u"Currency") != static_cast<std::size_t>(elements.size())) {
        platform::Log::write(
            QStringLiteral("Internal currencies inconsistent with default currencies list."));
    }
    const QVariant timestamp = root.value(QStringLiteral("timestamp"));
    if (timestamp.typeId() == QMetaType::QDateTime && timestamp.toDateTime().isValid()) {
        defaults.setValue(QString::fromLatin1(kRatesUpdatedAtKey), timestamp);
    }
    return counts.updated > 0;
}

void CurrencyList::seedCurrenciesInContext(objectstore::Context& context, const QString& path,
                                           platform::UserDefaults& defaults) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw platform::InternalError(
            QStringLiteral("Cannot read the currency list %1: %2").arg(path, file.errorString()));
    }
    if (updateCurrenciesInContext(context, file.readAll(), defaults)) {
        throw platform::InternalError(QStringLiteral("Failed to seed currencies"));
    }
}

QString CurrencyList::defaultCurrenciesPath() {
    return QStringLiteral(":/resources/DefaultCurrencies.plist");
}

QString CurrencyList::chooseHomeCurrency(objectstore::Context& context, const QString& localeId) {
    UChar buffer[4] = {};
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t length = ucurr_forLocale(IcuBridge::locale(localeId).getName(), buffer, 4, &status);
    QString code;
    if (U_SUCCESS(status) && length == 3) {
        code = QString(reinterpret_cast<const QChar*>(buffer), length);
    }
    if (code.isEmpty() || !Currency::withCode(context, code)) {
        code = QStringLiteral("USD");
        if (!Currency::withCode(context, code)) {
            throw platform::InternalError(QStringLiteral("could not find USD currency"));
        }
    }
    Currency::changeUserHomeCurrencyTo(context, code);
    return code;
}

} // namespace vantrel::model
