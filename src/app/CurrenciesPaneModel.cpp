#include "app/CurrenciesPaneModel.h"

#include "app/Workspace.h"
#include "model/AmountFormatter.h"
#include "model/Currency.h"
#include "model/CurrencyList.h"
#include "model/Day.h"
#include "model/Global.h"
#include "model/IcuBridge.h"
#include "model/VTDateFormatter.h"
#include "platform/Clock.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"

#include <QDateTime>

#include <unicode/reldatefmt.h>

#include <algorithm>
#include <optional>

namespace vantrel::app {

namespace {

constexpr int kRateFractionDigits = 10;

std::vector<model::Currency> currenciesInMenuOrder(objectstore::Context& context, const QString& homeCode) {
    std::vector<model::Currency> currencies;
    for (objectstore::ManagedObject* object : context.all(u"Currency")) {
        currencies.emplace_back(object);
    }
    // Currencies with the same name keep a fixed order by code.
    std::sort(currencies.begin(), currencies.end(),
              [&homeCode](const model::Currency& a, const model::Currency& b) {
                  if (model::Currency::precedesWithHomeCurrencyOnTop(a, b, homeCode)) {
                      return true;
                  }
                  if (model::Currency::precedesWithHomeCurrencyOnTop(b, a, homeCode)) {
                      return false;
                  }
                  return a.code() < b.code();
              });
    return currencies;
}

// The locale's word for a day close to today ("Today", "Yesterday", "Tomorrow", and in some
// languages the day before yesterday and after tomorrow), capitalised as a label. Computed from
// our own clock: ICU's relative date styles compare against the machine's clock instead.
std::optional<QString> relativeDayName(int daysFromToday, const QString& localeId) {
    UDateDirection direction = UDAT_DIRECTION_THIS;
    switch (daysFromToday) {
    case -2:
        direction = UDAT_DIRECTION_LAST_2;
        break;
    case -1:
        direction = UDAT_DIRECTION_LAST;
        break;
    case 0:
        direction = UDAT_DIRECTION_THIS;
        break;
    case 1:
        direction = UDAT_DIRECTION_NEXT;
        break;
    case 2:
        direction = UDAT_DIRECTION_NEXT_2;
        break;
    default:
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::RelativeDateTimeFormatter formatter(model::IcuBridge::locale(localeId), nullptr,
                                                   UDAT_STYLE_LONG,
                                                   UDISPCTX_CAPITALIZATION_FOR_BEGINNING_OF_SENTENCE, status);
    icu::UnicodeString text;
    formatter.format(direction, UDAT_ABSOLUTE_DAY, text, status);
    if (U_FAILURE(status) || text.isEmpty()) {
        return std::nullopt;
    }
    return model::IcuBridge::toQString(text);
}

} // namespace

CurrenciesPaneModel::CurrenciesPaneModel(Workspace& workspace, QString localeId)
    : m_workspace(workspace)
    , m_localeId(std::move(localeId)) {}

QString CurrenciesPaneModel::homeCode() const {
    return model::Global::sharedInstanceInContext(m_workspace.context()).homeCurrencyCode();
}

std::vector<CurrenciesPaneModel::Row> CurrenciesPaneModel::rows() const {
    const QString home = homeCode();
    const std::optional<model::Currency> homeCurrency =
        model::Currency::withCode(m_workspace.context(), home);
    const bool homeHasRate = homeCurrency && homeCurrency->rate() && !homeCurrency->rate()->isZero();

    model::AmountFormatter rateFormatter(m_localeId);
    rateFormatter.setMinimumFractionDigits(0);
    rateFormatter.setMaximumFractionDigits(kRateFractionDigits);

    std::vector<Row> rows;
    for (const model::Currency& currency : currenciesInMenuOrder(m_workspace.context(), home)) {
        if (currency.code() == home) {
            continue;
        }
        // Without both rates there is nothing to show rather than a made-up number.
        const QString rate = homeHasRate && currency.rate()
                                 ? rateFormatter.format(currency.rateBasedOn(*homeCurrency))
                                 : QString();
        rows.push_back({currency.code(), currency.name(), rate});
    }
    return rows;
}

QString CurrenciesPaneModel::rateColumnHeader() const {
    return QStringLiteral("Units per %1").arg(homeCode());
}

std::vector<CurrenciesPaneModel::MenuItem> CurrenciesPaneModel::homeCurrencyMenu() const {
    std::vector<MenuItem> items;
    for (const model::Currency& currency : currenciesInMenuOrder(m_workspace.context(), homeCode())) {
        items.push_back({currency.code(), currency.name()});
    }
    return items;
}

QString CurrenciesPaneModel::updatedDayText() const {
    const QDateTime updatedAt = m_workspace.defaults()
                                    .value(QString::fromLatin1(model::CurrencyList::kRatesUpdatedAtKey))
                                    .toDateTime();
    if (!updatedAt.isValid()) {
        return QStringLiteral("Never");
    }
    const QTimeZone zone = m_workspace.clock().timeZone();
    const model::Day updatedDay = model::Day::utcDateFromLocalDate_VT(updatedAt, zone);
    const model::Day today = model::Day::today_VT(m_workspace.clock());
    const int daysFromToday = updatedDay.daysSinceEpoch() - today.daysSinceEpoch();
    if (const std::optional<QString> name = relativeDayName(daysFromToday, m_localeId)) {
        return *name;
    }
    return model::VTDateFormatter(m_localeId).format(updatedDay);
}

QString CurrenciesPaneModel::lastUpdatedText() const {
    return QStringLiteral("Last Updated: %1").arg(updatedDayText());
}

bool CurrenciesPaneModel::changeHomeCurrency(const QString& code) {
    if (code == homeCode()) {
        return false;
    }
    model::Currency::changeUserHomeCurrencyTo(m_workspace.context(), code);
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    return true;
}

} // namespace vantrel::app
