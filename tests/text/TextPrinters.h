#pragma once

#include "text/StyledRun.h"

#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure messages for the Qt and text types the text tests compare.

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[';
    for (qsizetype i = 0; i < list.size(); ++i) {
        *out << (i > 0 ? ", " : "");
        PrintTo(list.at(i), out);
    }
    *out << ']';
}

namespace vantrel::text {

inline void PrintTo(const StyledRun& run, std::ostream* out) {
    *out << '{';
    ::PrintTo(run.text, out);
    *out << (run.bold ? " bold" : "") << (run.italic ? " italic" : "") << '}';
}

} // namespace vantrel::text
