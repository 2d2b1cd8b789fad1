#include "model/RepeatRuleArchive.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vantrel::model {

QString RepeatRuleArchive::encode(const std::vector<RepeatRule>& rules) {
    QJsonArray array;
    for (const auto& rule : rules) {
        array.append(std::visit([](const auto& r) { return r.toArchive(); }, rule));
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

std::optional<std::vector<RepeatRule>> RepeatRuleArchive::decode(const QString& archive) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(archive.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        return std::nullopt;
    }
    std::vector<RepeatRule> rules;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject object = value.toObject();
        if (DIWeek::isArchiveOf(object) && !DIMonth::isArchiveOf(object)) {
            const auto week = DIWeek::fromArchive(object);
            if (!week) {
                return std::nullopt;
            }
            rules.emplace_back(*week);
        } else if (DIMonth::isArchiveOf(object) && !DIWeek::isArchiveOf(object)) {
            const auto month = DIMonth::fromArchive(object);
            if (!month) {
                return std::nullopt;
            }
            rules.emplace_back(*month);
        } else {
            return std::nullopt;
        }
    }
    return rules;
}

QString description(const RepeatRule& rule) {
    return std::visit([](const auto& r) { return r.description(); }, rule);
}

} // namespace vantrel::model
