#pragma once

#include <QLabel>
#include <QString>

namespace vantrel::ui {

// A label for texts that come from files or the user (names, sample dates, messages): shown as
// plain text, never read as markup, wrapped to the sheet's width.
inline QLabel* wrappingLabel(QWidget* parent, const QString& objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace vantrel::ui
