#pragma once

#include "model/Amount.h"
#include "platform/objectstore/ManagedObject.h"

#include <QWidget>

#include <cstddef>
#include <optional>

class QToolButton;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class AmountLineEdit;
class CategoryField;

// One split row of the transaction editor: its category, its amount, and the buttons that add a row
// after the last one and remove this one. It reports what the user does; the panel's model decides.
class SplitRowWidget : public QWidget {
    Q_OBJECT

public:
    SplitRowWidget(app::Workspace& workspace, std::size_t row, const QString& localeId,
                   QWidget* parent = nullptr);

    std::size_t row() const { return m_row; }
    // Shows the row; an amount the field already holds is left as typed.
    void showRow(objectstore::ManagedObject* category, const std::optional<model::Amount>& amount,
                 bool isLast);

    CategoryField* categoryField() const { return m_category; }
    AmountLineEdit* amountField() const { return m_amount; }
    QToolButton* addButton() const { return m_add; }
    QToolButton* removeButton() const { return m_remove; }

signals:
    void categoryChosen(std::size_t row, vantrel::objectstore::ManagedObject* category);
    void amountEdited(std::size_t row, const std::optional<vantrel::model::Amount>& amount);
    void addRequested();
    void removeRequested(std::size_t row);

private:
    std::size_t m_row;
    CategoryField* m_category = nullptr;
    AmountLineEdit* m_amount = nullptr;
    QToolButton* m_add = nullptr;
    QToolButton* m_remove = nullptr;
};

} // namespace vantrel::ui
