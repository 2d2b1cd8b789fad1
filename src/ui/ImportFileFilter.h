#pragma once

#include <QString>
#include <QStringList>

namespace vantrel::ui {

// The name filter of an import's file chooser. Names on Linux are case-sensitive, while banks and
// other programs write extensions in either case: every extension is offered in lower case, upper
// case and capitalised ("Bank Files (*.ofx *.OFX *.Ofx)").
class ImportFileFilter {
public:
    static QString nameFilter(const QString& description, const QStringList& extensions);
};

} // namespace vantrel::ui
