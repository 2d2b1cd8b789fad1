#pragma once

#include <QDialog>

namespace vantrel::ui {

// "Your Budget": shown once after the first budget was generated, to say where its numbers came
// from and how to adjust them.
class BudgetHelpSheet : public QDialog {
    Q_OBJECT

public:
    explicit BudgetHelpSheet(QWidget* parent = nullptr);
};

} // namespace vantrel::ui
