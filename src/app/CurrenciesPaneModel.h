#pragma once

#include <QString>

#include <vector>

namespace vantrel::app {

class Workspace;

// The Currencies preferences pane: the table of every currency but the home one with its rate in
// home-currency units, the home currency menu, and when the rates were last updated. Rows and
// texts are computed on demand, so they always show the current store.
class CurrenciesPaneModel {
public:
    struct Row {
        QString code;
        QString name;
        // rateBasedOnHomeCurrency in the pane's locale, without trailing zeros.
        QString rate;
    };

    struct MenuItem {
        QString code;
        QString title;
    };

    CurrenciesPaneModel(Workspace& workspace, QString localeId);

    // Sorted by name, ignoring case, in the user's locale.
    std::vector<Row> rows() const;
    // "Units per USD".
    QString rateColumnHeader() const;
    // Every currency, the home currency first, then by name.
    std::vector<MenuItem> homeCurrencyMenu() const;
    // "Last Updated: Today", "Last Updated: Mar 5, 2024", or "Last Updated: Never" before the
    // first list was applied.
    QString lastUpdatedText() const;

    // Makes `code` the home currency, saves and refreshes every view. Picking the current home
    // currency again changes nothing. Returns whether the home currency changed.
    bool changeHomeCurrency(const QString& code);

private:
    QString homeCode() const;
    QString updatedDayText() const;

    Workspace& m_workspace;
    QString m_localeId;
};

} // namespace vantrel::app
