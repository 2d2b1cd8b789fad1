#pragma once

#include "app/TrendsLegendRow.h"

#include <QAbstractListModel>

#include <vector>

namespace vantrel::app {
class TrendsViewModel;
}

namespace vantrel::ui {

// The trends legend as a list of check boxes, one per series, under a "Categories" heading that
// cannot be checked. A refused check (a sixth series) leaves the box unchecked.
class TrendsLegendModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit TrendsLegendModel(app::TrendsViewModel& trends, QObject* parent = nullptr);

    // Re-reads the rows from the view-model.
    void refresh();
    const std::vector<app::TrendsLegendRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A series was checked or unchecked.
    void selectionChanged();
    // Checking `title` was refused: the limit is reached.
    void checkRefused(const QString& title);

private:
    app::TrendsViewModel& m_trends;
    std::vector<app::TrendsLegendRow> m_rows;
};

} // namespace vantrel::ui
