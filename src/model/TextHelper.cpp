#include "model/TextHelper.h"

#include <QRandomGenerator>

#include <algorithm>
#include <iterator>

namespace vantrel::model {

QString TextHelper::pluralize(const QString& noun, std::int64_t count) {
    if (count == 1) {
        return QStringLiteral("%1 %2").arg(QString::number(count), noun);
    }
    return QStringLiteral("%1 %2s").arg(QString::number(count), noun);
}

QString TextHelper::naturalList(const QStringList& items) {
    if (items.size() < 2) {
        return items.value(0);
    }
    return QStringLiteral("%1 and %2")
        .arg(items.mid(0, items.size() - 1).join(QStringLiteral(", ")), items.last());
}

QString TextHelper::capitalizedWords(const QString& text) {
    QString result = text.toLower();
    bool wordStart = true;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const QChar c = result.at(i);
        if (c.isSpace()) {
            wordStart = true;
        } else if (wordStart) {
            result[i] = c.toUpper();
            wordStart = false;
        }
    }
    return result;
}

QString TextHelper::hashWithLength(int length) {
    static constexpr char16_t kAlphabet[] = u"0123456789abcdefghijklmnopqrstuvwxyz";
    static constexpr int kAlphabetSize = static_cast<int>(std::size(kAlphabet)) - 1;
    static_assert(kAlphabetSize == 36);

    QString result;
    result.reserve(std::max(length, 0));
    QRandomGenerator* generator = QRandomGenerator::system();
    for (int i = 0; i < length; ++i) {
        result.append(QChar(kAlphabet[generator->bounded(kAlphabetSize)]));
    }
    return result;
}

bool TextHelper::isBlank_vt(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

QString TextHelper::trimmed_vt(QStringView text) {
    return text.trimmed().toString();
}

} // namespace vantrel::model
