#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>

namespace vantrel::testsupport {

// Answers the message boxes the window opens with exec(), in order, by clicking the button with the
// queued text, and keeps what each box said. A box nobody queued an answer for, or one without the
// queued button, fails the test and is closed, so a test never hangs on a modal loop.
class ModalAnswerer {
public:
    struct Shown {
        QString text;
        QString informativeText;
        QStringList buttons;
    };

    ModalAnswerer() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    void answer(const QString& buttonText) { m_answers.push_back(buttonText); }
    const std::vector<Shown>& shown() const { return m_shown; }
    bool allAnswersUsed() const { return m_answers.empty(); }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box == m_lastBox) {
            return;
        }
        m_lastBox = box;
        Shown shown{box->text(), box->informativeText(), {}};
        QAbstractButton* chosen = nullptr;
        const QString wanted = m_answers.empty() ? QString() : m_answers.front();
        for (QAbstractButton* button : box->buttons()) {
            shown.buttons.append(button->text());
            if (!wanted.isEmpty() && button->text() == wanted) {
                chosen = button;
            }
        }
        m_shown.push_back(shown);
        if (chosen == nullptr) {
            ADD_FAILURE() << "unexpected message box: " << shown.text.toStdString()
                          << " (answer queued: " << wanted.toStdString() << ")";
            box->reject();
            return;
        }
        m_answers.pop_front();
        chosen->click();
    }

    QTimer m_timer;
    QPointer<QMessageBox> m_lastBox;
    std::deque<QString> m_answers;
    std::vector<Shown> m_shown;
};

} // namespace vantrel::testsupport
