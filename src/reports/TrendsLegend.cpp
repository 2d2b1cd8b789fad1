#include "reports/TrendsLegend.h"

#include "model/CategoryVT.h"
#include "reports/Trends.h"

#include <QVariant>

#include <algorithm>
#include <array>

namespace vantrel::reports {

namespace {

// The colours categories take in turn; also the colour of anything not on offer.
constexpr std::array<const char*, TrendsLegend::kMaximumSelection> kCategoryPalette = {
    "FCD219", "E67BAB", "2BC89A", "EC992A", "B58FF2"};

std::vector<TrendsLegend::Item> offeredItems(objectstore::Context& context) {
    std::vector<TrendsLegend::Item> items = {
        {QString::fromLatin1(Trends::kBalance), QStringLiteral("Balance"), QStringLiteral("55B0E4")},
        {QString::fromLatin1(Trends::kIncome), QStringLiteral("Income"), QStringLiteral("62C749")},
        {QString::fromLatin1(Trends::kExpense), QStringLiteral("Expense"), QStringLiteral("EC7663")},
        {QString(), QStringLiteral("Categories"), QString()},
    };
    std::vector<model::CategoryVT> categories;
    for (objectstore::ManagedObject* object : context.all(u"Category")) {
        categories.emplace_back(object);
    }
    std::stable_sort(categories.begin(), categories.end(),
                     [](const model::CategoryVT& a, const model::CategoryVT& b) {
                         return model::CategoryVT::compareNames(a.name(), b.name()) < 0;
                     });
    for (const model::CategoryVT& category : categories) {
        const std::size_t position = items.size();
        items.push_back({category.cloudID(), category.name(),
                         QString::fromLatin1(kCategoryPalette[position % kCategoryPalette.size()])});
    }
    return items;
}

} // namespace

TrendsLegend::TrendsLegend(objectstore::Context& context, platform::UserDefaults& defaults)
    : m_context(context)
    , m_defaults(defaults)
    , m_items(offeredItems(context)) {
    const QString key = QString::fromLatin1(kSelectionKey);
    if (!m_defaults.isStored(key)) {
        m_selection = QStringList{QString::fromLatin1(Trends::kBalance)};
        return;
    }
    for (const QString& identifier : m_defaults.value(key).toStringList()) {
        if (isOffered(identifier) && !m_selection.contains(identifier) &&
            m_selection.size() < kMaximumSelection) {
            m_selection.push_back(identifier);
        }
    }
}

bool TrendsLegend::select(const QString& identifier) {
    if (isSelected(identifier)) {
        return true;
    }
    if (!isOffered(identifier) || m_selection.size() >= kMaximumSelection) {
        return false;
    }
    m_selection.push_back(identifier);
    store();
    return true;
}

void TrendsLegend::deselect(const QString& identifier) {
    if (m_selection.removeAll(identifier) > 0) {
        store();
    }
}

QString TrendsLegend::colorOf(const QString& identifier) const {
    for (const Item& item : m_items) {
        if (!item.isHeading() && item.identifier == identifier) {
            return item.color;
        }
    }
    return QString::fromLatin1(kCategoryPalette.front());
}

void TrendsLegend::reload() {
    m_items = offeredItems(m_context);
    const qsizetype before = m_selection.size();
    m_selection.removeIf([this](const QString& identifier) { return !isOffered(identifier); });
    if (m_selection.size() != before) {
        store();
    }
}

bool TrendsLegend::isOffered(const QString& identifier) const {
    return !identifier.isEmpty() && std::any_of(m_items.begin(), m_items.end(), [&](const Item& item) {
        return item.identifier == identifier;
    });
}

void TrendsLegend::store() {
    m_defaults.setValue(QString::fromLatin1(kSelectionKey), m_selection);
}

} // namespace vantrel::reports
