#pragma once

#include <QWidget>

class QPushButton;

namespace vantrel::ui {

// What the window shows before there is any account: a short welcome and a button that adds the
// first account.
class EmptyView : public QWidget {
    Q_OBJECT

public:
    static constexpr auto kTitle = "Welcome to Vantrel";
    static constexpr auto kMessage =
        "Start by adding the account you use most, such as your checking account.\n"
        "You can add savings, credit card and cash accounts at any time.";
    static constexpr auto kButton = "Add Your First Account";

    explicit EmptyView(QWidget* parent = nullptr);

    QPushButton* addAccountButton() const { return m_button; }

signals:
    void addAccountClicked();

private:
    QPushButton* m_button = nullptr;
};

} // namespace vantrel::ui
