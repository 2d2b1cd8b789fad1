#include "model/CsvText.h"

#include <QSaveFile>

namespace vantrel::model {

QString CsvText::escaped(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString CsvText::amountText(const Amount& amount) {
    return amount.normalized().toString();
}

std::optional<QString> CsvText::writeToFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("The file \"%1\" could not be created: %2").arg(path, file.errorString());
    }
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const QString cause = file.errorString();
        file.cancelWriting();
        return QStringLiteral("The file \"%1\" could not be written: %2").arg(path, cause);
    }
    if (!file.commit()) {
        return QStringLiteral("The file \"%1\" could not be saved: %2").arg(path, file.errorString());
    }
    return std::nullopt;
}

} // namespace vantrel::model
