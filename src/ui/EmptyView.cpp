#include "ui/EmptyView.h"

#include "ui/Icons.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantrel::ui {

EmptyView::EmptyView(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("emptyView"));
    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(96, 96));
    icon->setAlignment(Qt::AlignCenter);

    auto* title = new QLabel(QString::fromUtf8(kTitle), this);
    title->setObjectName(QStringLiteral("emptyViewTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);

    auto* message = new QLabel(QString::fromUtf8(kMessage), this);
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    message->setForegroundRole(QPalette::PlaceholderText);

    m_button = new QPushButton(QString::fromUtf8(kButton), this);
    m_button->setDefault(true);
    connect(m_button, &QPushButton::clicked, this, &EmptyView::addAccountClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch(2);
    layout->addWidget(icon);
    layout->addSpacing(12);
    layout->addWidget(title);
    layout->addWidget(message);
    layout->addSpacing(16);
    layout->addWidget(m_button, 0, Qt::AlignHCenter);
    layout->addStretch(3);
}

} // namespace vantrel::ui
