#pragma once

#include <QWidget>

namespace vantrel::ui {

// One rounded bar comparing the period's income (green, from the left) with its expense (red, from
// the right).
class IncomeExpenseBar : public QWidget {
    Q_OBJECT

public:
    explicit IncomeExpenseBar(QWidget* parent = nullptr);

    // Each side's share of both; both 0 draws an empty bar.
    void setShares(float income, float expense);
    float incomeShare() const { return m_income; }
    float expenseShare() const { return m_expense; }

    QSize sizeHint() const override { return {240, 14}; }
    QSize minimumSizeHint() const override { return {60, 10}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float m_income = 0;
    float m_expense = 0;
};

} // namespace vantrel::ui
