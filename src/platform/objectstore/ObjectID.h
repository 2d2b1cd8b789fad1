#pragma once

#include <QString>

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>

namespace vantrel::objectstore {

class ModelDescription;

// The identity of one stored object: its entity (index in the model) and its primary key. Keys are
// handed out by the store when an object is inserted, so an object keeps one id from insertion on,
// in every context of that store. The text form "Account/42" is stable across runs.
struct ObjectID {
    int entity = -1;
    std::int64_t key = 0;

    bool isValid() const { return entity >= 0 && key > 0; }
    QString toText(const ModelDescription& model) const;
    static std::optional<ObjectID> fromText(QStringView text, const ModelDescription& model);

    friend bool operator==(const ObjectID&, const ObjectID&) = default;
    friend auto operator<=>(const ObjectID&, const ObjectID&) = default;
};

} // namespace vantrel::objectstore

template <>
struct std::hash<vantrel::objectstore::ObjectID> {
    std::size_t operator()(const vantrel::objectstore::ObjectID& id) const noexcept {
        return std::hash<std::int64_t>()(id.key) * 31 + static_cast<std::size_t>(id.entity);
    }
};
