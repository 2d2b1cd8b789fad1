#include "ui/ImportFileFilter.h"

namespace vantrel::ui {

QString ImportFileFilter::nameFilter(const QString& description, const QStringList& extensions) {
    QStringList patterns;
    for (const QString& extension : extensions) {
        const QString lower = extension.toLower();
        const QString capitalised = lower.left(1).toUpper() + lower.mid(1);
        for (const QString& spelling : {lower, extension.toUpper(), capitalised}) {
            const QString pattern = QStringLiteral("*.") + spelling;
            if (!patterns.contains(pattern)) {
                patterns << pattern;
            }
        }
    }
    return QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
}

} // namespace vantrel::ui
