#pragma once

#include <QString>
#include <QStringList>

namespace vantrel::app {

// A question or notice for the user: a message, an informative text below it and the buttons in
// the order they are listed (the first is the default). An alert with no buttons shows "OK".
struct Alert {
    QString message;
    QString informativeText;
    QStringList buttons;

    friend bool operator==(const Alert&, const Alert&) = default;
};

} // namespace vantrel::app
