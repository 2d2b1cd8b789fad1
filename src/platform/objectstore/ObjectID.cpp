#include "platform/objectstore/ObjectID.h"

#include "platform/objectstore/ModelDescription.h"

namespace vantrel::objectstore {

QString ObjectID::toText(const ModelDescription& model) const {
    return model.entity(entity).name() + u'/' + QString::number(key);
}

std::optional<ObjectID> ObjectID::fromText(QStringView text, const ModelDescription& model) {
    const auto slash = text.lastIndexOf(u'/');
    if (slash <= 0) {
        return std::nullopt;
    }
    const auto entity = model.entityIndex(text.first(slash));
    bool ok = false;
    const qint64 key = text.sliced(slash + 1).toLongLong(&ok);
    if (!entity || !ok || key <= 0) {
        return std::nullopt;
    }
    return ObjectID{*entity, key};
}

} // namespace vantrel::objectstore
