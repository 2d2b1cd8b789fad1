#include "ui/WelcomeWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vantrel::ui {

namespace {
constexpr int kLoadingSteps = 1000;
constexpr auto kTagProperty = "vantrelTag";
} // namespace

WelcomeWindow::WelcomeWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setWindowTitle(tr("Welcome to Vantrel"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(tr("Welcome to Vantrel"), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);

    m_info = new QLabel(this);
    m_info->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_info);

    // A busy bar: no range, so it only shows that something is going on.
    m_spinner = new QProgressBar(this);
    m_spinner->setRange(0, 0);
    m_spinner->setTextVisible(false);
    layout->addWidget(m_spinner);

    m_loading = new QProgressBar(this);
    m_loading->setRange(0, kLoadingSteps);
    m_loading->setTextVisible(false);
    m_loading->hide();
    layout->addWidget(m_loading);

    m_buttons = new QHBoxLayout();
    m_buttons->setAlignment(Qt::AlignCenter);
    layout->addLayout(m_buttons);
    resize(520, 260);
}

void WelcomeWindow::clearButtons() {
    for (QPushButton* button : choiceButtons()) {
        m_buttons->removeWidget(button);
        button->deleteLater();
        button->setParent(nullptr);
    }
}

void WelcomeWindow::showSpinner() {
    clearButtons();
    m_info->clear();
    m_loading->hide();
    m_spinner->show();
}

void WelcomeWindow::showChoices(const app::FirstRunChoices& choices) {
    clearButtons();
    m_spinner->hide();
    m_loading->hide();
    m_info->setText(choices.infoLabel);
    for (const app::FirstRunButton& choice : choices.buttons) {
        auto* button = new QPushButton(choice.title, this);
        button->setProperty(kTagProperty, choice.tag);
        button->setMinimumWidth(choice.minimumWidth);
        const int tag = choice.tag;
        connect(button, &QPushButton::clicked, this, [this, tag] { emit buttonClicked(tag); });
        m_buttons->addWidget(button);
    }
}

void WelcomeWindow::showLoading(double fraction) {
    clearButtons();
    m_spinner->hide();
    m_loading->show();
    m_loading->setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * kLoadingSteps));
}

QString WelcomeWindow::infoText() const {
    return m_info->text();
}

QList<QPushButton*> WelcomeWindow::choiceButtons() const {
    QList<QPushButton*> buttons;
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->parent() == this && button->property(kTagProperty).isValid()) {
            buttons << button;
        }
    }
    return buttons;
}

bool WelcomeWindow::isSpinning() const {
    return !m_spinner->isHidden();
}

double WelcomeWindow::loadingFraction() const {
    return m_loading->isHidden() ? -1.0 : static_cast<double>(m_loading->value()) / kLoadingSteps;
}

} // namespace vantrel::ui
