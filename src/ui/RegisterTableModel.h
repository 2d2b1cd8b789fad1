#pragma once

#include <QAbstractTableModel>
#include <QColor>

namespace vantrel::app {
class RegisterViewModel;
}

namespace vantrel::ui {

// The rows of a register as a table: one row per transaction of the view-model, in its order, with
// the flag, date, description, category, amount and balance columns. Every text comes from the
// view-model, which formats a row only when asked, so a long register costs nothing up front. The
// row count is taken when the content is refreshed: the view-model may re-read its content in a
// command, and the table only follows in refresh().
class RegisterTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Flag, Date, Description, Category, Amount, Balance, ColumnCount };
    enum Role {
        // The name of the flag image the cell shows, the hover image included; null for none.
        FlagImageRole = Qt::UserRole + 1,
        // The description's first line: the title, with the check number when there is one.
        TitleRole,
        // The description's second line: the notes; null when there are none.
        NotesRole,
    };

    static QColor positiveColour();
    static QColor negativeColour();
    static QColor zeroColour();

    explicit RegisterTableModel(QObject* parent = nullptr);

    // Shows another register (or none); resets the table.
    void setViewModel(const app::RegisterViewModel* viewModel);
    const app::RegisterViewModel* viewModel() const { return m_viewModel; }
    // The view-model's content changed (rows inserted, deleted or re-sorted): resets the table.
    void refresh();
    // One transaction's texts changed in place (its flag, say).
    void rowChanged(int row);

    // The row whose flag cell is under the pointer, -1 for none: it shows the hover image.
    void setHoveredFlagRow(int row);
    int hoveredFlagRow() const { return m_hoveredFlagRow; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QStringList mimeTypes() const override;
    // The object-identifier texts of the rows of `indexes`, one per line, in row order.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    bool isReadable(int row) const;
    QVariant displayText(std::size_t row, int column) const;
    QString titleLine(std::size_t row) const;
    QString flagImage(std::size_t row) const;
    QVariant foreground(std::size_t row, int column) const;
    QVariant toolTip(std::size_t row, int column) const;

    const app::RegisterViewModel* m_viewModel = nullptr;
    int m_rowCount = 0;
    int m_hoveredFlagRow = -1;
};

} // namespace vantrel::ui
