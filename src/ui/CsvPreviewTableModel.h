#pragma once

#include "import/CsvRows.h"

#include <QAbstractTableModel>

namespace vantrel::app {
class CsvMappingModel;
}

namespace vantrel::ui {

// The rows of a CSV file as the mapping sheet previews them: one column per field of the file, the
// mapped field's title as the column header, and cells the mapping leaves out (unmapped columns, a
// header row) in grey. Reads everything from the mapping model; call mappingChanged() after the
// mapping or the boxes change so that the views repaint.
class CsvPreviewTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // True for a cell the mapping does not import.
    static constexpr int GreyRole = Qt::UserRole + 1;

    explicit CsvPreviewTableModel(app::CsvMappingModel& mapping, QObject* parent = nullptr);

    // Starts the mapping over on other rows.
    void setRows(import::CsvRows rows);
    void mappingChanged();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    app::CsvMappingModel& m_mapping;
};

} // namespace vantrel::ui
