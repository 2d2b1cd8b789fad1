#pragma once

#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vantrel::reports {

// The trends legend: the series on offer, their titles and colours, and the selection of at most
// five, remembered in "VTTrendsSelection".
class TrendsLegend {
public:
    static constexpr int kMaximumSelection = 5;
    static constexpr auto kSelectionKey = "VTTrendsSelection";

    struct Item {
        // Empty for the "Categories" heading row.
        QString identifier;
        QString title;
        // Hex without "#", e.g. "55B0E4"; empty for the heading.
        QString color;
        bool isHeading() const { return identifier.isEmpty(); }
    };

    TrendsLegend(objectstore::Context& context, platform::UserDefaults& defaults);

    // "balance", "income", "expense", the "Categories" heading, then categories by name.
    const std::vector<Item>& items() const { return m_items; }
    // Stored identifiers that are still valid, in stored order; "balance" on first use.
    const QStringList& selection() const { return m_selection; }
    bool isSelected(const QString& identifier) const { return m_selection.contains(identifier); }
    // False (nothing changes) when five are selected already or the identifier is not offered.
    bool select(const QString& identifier);
    void deselect(const QString& identifier);
    QString colorOf(const QString& identifier) const;
    // Re-reads the categories (after a refresh), dropping selected ones that are gone.
    void reload();

private:
    // On offer and not the heading.
    bool isOffered(const QString& identifier) const;
    void store();

    objectstore::Context& m_context;
    platform::UserDefaults& m_defaults;
    std::vector<Item> m_items;
    QStringList m_selection;
};

} // namespace vantrel::reports
