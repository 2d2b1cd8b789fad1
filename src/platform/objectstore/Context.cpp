#include "platform/objectstore/Context.h"

#include "platform/InternalError.h"
#include "platform/objectstore/ChangeMerger.h"
#include "platform/objectstore/FetchSorter.h"
#include "platform/objectstore/ValueOrdering.h"

#include <algorithm>

namespace vantrel::objectstore {

namespace {

std::optional<ObjectID> idOf(const ManagedObject* object) {
    return object ? std::optional(object->id()) : std::nullopt;
}

void removeMember(std::vector<ManagedObject*>& members, const ManagedObject* member) {
    // Recently added members sit at the end.
    const auto it = std::find(members.rbegin(), members.rend(), member);
    if (it != members.rend()) {
        members.erase(std::next(it).base());
    }
}

std::shared_ptr<PersistentStore> checkedStore(std::shared_ptr<PersistentStore> store) {
    if (!store) {
        throw platform::InternalError("A context needs a store");
    }
    return store;
}

} // namespace

Context::Context(std::shared_ptr<PersistentStore> store)
    : m_store(checkedStore(std::move(store)))
    , m_strings(m_store->model().entities().size() * 64)
    , m_validator(m_store->model().entities().size())
    , m_indexes(m_store->model())
    , m_undo(*this) {
    buildLayouts();
    load();
}

Context::~Context() = default;

// ---- Loading ---------------------------------------------------------------------------------

void Context::buildLayouts() {
    const auto& entities = model().entities();
    for (std::size_t e = 0; e < entities.size(); ++e) {
        std::vector<EntityLayout::RelationshipInfo> infos;
        for (const auto& relationship : entities[e].relationships()) {
            EntityLayout::RelationshipInfo info{relationship.cardinality,
                                                *model().entityIndex(relationship.destination), -1, false};
            if (!relationship.inverse.isEmpty()) {
                const auto& destination = model().entity(info.destination);
                info.inverse = *destination.relationshipIndex(relationship.inverse);
                info.inverseIsToMany =
                    destination.relationships()[static_cast<std::size_t>(info.inverse)].cardinality ==
                    Cardinality::ToMany;
            }
            infos.push_back(info);
        }
        m_layouts.push_back(std::make_unique<EntityLayout>(*this, static_cast<int>(e), entities[e], infos));
    }
    m_entities.resize(entities.size());
}

void Context::load() {
    const int entityCount = static_cast<int>(model().entities().size());
    for (int e = 0; e < entityCount; ++e) {
        const EntityLayout& entityLayout = layout(e);
        m_store->loadAll(e, [&](ObjectState&& state) {
            ManagedObject& object = create(state.id);
            fill(object, state.attributes);
            // Targets may not be loaded yet: keep their keys in the to-one slots until every entity is.
            for (std::size_t r = 0; r < state.toOne.size(); ++r) {
                if (state.toOne[r] &&
                    entityLayout.relationship(static_cast<int>(r)).cardinality == Cardinality::ToOne) {
                    entityLayout.setToOneWord(object.block(), static_cast<int>(r),
                                              static_cast<std::uintptr_t>(state.toOne[r]->key));
                }
            }
        });
    }
    for (int e = 0; e < entityCount; ++e) {
        connectLoaded(e);
    }
}

void Context::connectLoaded(int entity) {
    const EntityLayout& entityLayout = layout(entity);
    for (const auto& object : objectsOf(entity).objects) {
        for (int r = 0; r < entityLayout.relationshipCount(); ++r) {
            const auto& info = entityLayout.relationship(r);
            if (info.cardinality != Cardinality::ToOne) {
                continue;
            }
            const auto key = static_cast<qint64>(entityLayout.toOneWord(object->block(), r));
            ManagedObject* target = key ? objectsOf(info.destination).byKey.value(key) : nullptr;
            object->storeToOne(r, target);
            if (!target) {
                continue;
            }
            if (info.inverse < 0) {
                m_referrers.emplace(target, std::pair(object.get(), r));
            } else if (info.inverseIsToMany) {
                target->storedToMany(info.inverse).push_back(object.get());
            }
        }
    }
}

ManagedObject& Context::create(const ObjectID& id) {
    if (id.entity < 0 || id.entity >= static_cast<int>(m_entities.size()) || !id.isValid()) {
        throw platform::InternalError("Object with an invalid id");
    }
    EntityObjects& entity = objectsOf(id.entity);
    if (entity.byKey.contains(id.key)) {
        throw platform::InternalError(QStringLiteral("Object %1 exists twice").arg(id.toText(model())));
    }
    auto object = ManagedObject::create(ManagedObject::ConstructionKey{}, layout(id.entity), id);
    ManagedObject& created = *object;
    entity.byKey.insert(id.key, &created);
    entity.objects.push_back(std::move(object));
    return created;
}

void Context::fill(ManagedObject& object, std::vector<Value>& attributes) {
    const EntityLayout& entityLayout = object.layout();
    if (attributes.size() != static_cast<std::size_t>(entityLayout.attributeCount())) {
        throw platform::InternalError(QStringLiteral("State of %1 has the wrong number of attributes")
                                          .arg(object.id().toText(model())));
    }
    for (int a = 0; a < entityLayout.attributeCount(); ++a) {
        Value& value = attributes[static_cast<std::size_t>(a)];
        if (!entityLayout.accepts(a, value)) {
            throw platform::InternalError(
                QStringLiteral("Value of the wrong type for %1.%2")
                    .arg(object.entity().name(), object.entity().attributes()[a].name));
        }
        if (!isAbsent(value)) {
            object.storeLoadedValue(a, std::move(value), m_strings);
        }
    }
}

// ---- Lookups and fetches ---------------------------------------------------------------------

int Context::entityIndex(QStringView entity) const {
    const auto index = model().entityIndex(entity);
    if (!index) {
        throw platform::InternalError(QStringLiteral("Unknown entity %1").arg(entity));
    }
    return *index;
}

std::vector<ManagedObject*> Context::liveObjects(int entity) const {
    const auto& objects = objectsOf(entity).objects;
    std::vector<ManagedObject*> live;
    live.reserve(objects.size());
    for (const auto& object : objects) {
        if (!object->isDeleted()) {
            live.push_back(object.get());
        }
    }
    return live;
}

ManagedObject* Context::find(const std::optional<ObjectID>& id, Lookup lookup) const {
    if (!id || id->entity < 0 || id->entity >= static_cast<int>(m_entities.size())) {
        return nullptr;
    }
    ManagedObject* object = objectsOf(id->entity).byKey.value(id->key);
    if (object && lookup == Lookup::LiveOnly && object->isDeleted()) {
        return nullptr;
    }
    return object;
}

ManagedObject* Context::object(const ObjectID& id) const {
    return find(id, Lookup::LiveOnly);
}

std::vector<ManagedObject*> Context::all(QStringView entity) const {
    return liveObjects(entityIndex(entity));
}

std::vector<ManagedObject*> Context::fetch(QStringView entity, const Predicate& predicate,
                                           const std::vector<SortDescriptor>& sort) const {
    const int e = entityIndex(entity);
    std::vector<ManagedObject*> objects = liveObjects(e);
    if (predicate) {
        std::erase_if(objects, [&](const ManagedObject* object) { return !predicate(*object); });
    }
    FetchSorter(model(), e, sort).sort(objects);
    return objects;
}

ManagedObject* Context::first(QStringView entity, const Predicate& predicate,
                              const std::vector<SortDescriptor>& sort) const {
    if (sort.empty()) {
        for (ManagedObject* object : liveObjects(entityIndex(entity))) {
            if (!predicate || predicate(*object)) {
                return object;
            }
        }
        return nullptr;
    }
    const auto objects = fetch(entity, predicate, sort);
    return objects.empty() ? nullptr : objects.front();
}

std::size_t Context::count(QStringView entity, const Predicate& predicate) const {
    const auto& objects = objectsOf(entityIndex(entity)).objects;
    return static_cast<std::size_t>(std::count_if(objects.begin(), objects.end(), [&](const auto& object) {
        return !object->isDeleted() && (!predicate || predicate(*object));
    }));
}

platform::Amount Context::sum(QStringView entity, QStringView attribute, const Predicate& predicate) const {
    const int e = entityIndex(entity);
    const auto& description = model().entity(e);
    const int a = *description.attributeIndex(description.attribute(attribute).name);
    if (description.attributes()[static_cast<std::size_t>(a)].type != AttributeType::Decimal) {
        throw platform::InternalError(QStringLiteral("%1 is not a decimal").arg(attribute));
    }
    platform::Amount total;
    for (const auto& object : objectsOf(e).objects) {
        if (!object->isDeleted() && object->hasValue(a) && (!predicate || predicate(*object))) {
            total += std::get<platform::Amount>(object->value(a));
        }
    }
    return total;
}

std::optional<Value> Context::maximum(QStringView entity, QStringView attribute,
                                      const Predicate& predicate) const {
    const int e = entityIndex(entity);
    const auto& description = model().entity(e);
    const int a = *description.attributeIndex(description.attribute(attribute).name);
    std::optional<Value> largest;
    for (const auto& object : objectsOf(e).objects) {
        if (object->isDeleted() || !object->hasValue(a) || (predicate && !predicate(*object))) {
            continue;
        }
        Value value = object->value(a);
        if (!largest || compareValues(value, *largest) > 0) {
            largest = std::move(value);
        }
    }
    return largest;
}

std::vector<ManagedObject*> Context::lookup(QStringView entity, QStringView attribute,
                                            const Value& value) const {
    const int e = entityIndex(entity);
    const auto& description = model().entity(e);
    const int a = *description.attributeIndex(description.attribute(attribute).name);
    return m_indexes.lookup(e, a, value, [this, e] { return liveObjects(e); });
}

std::vector<ManagedObject*> Context::inDateRange(QStringView entity, QStringView attribute,
                                                 const QDateTime& from, const QDateTime& to) const {
    const int e = entityIndex(entity);
    const auto& description = model().entity(e);
    const int a = *description.attributeIndex(description.attribute(attribute).name);
    return m_indexes.inDateRange(e, a, from, to, [this, e] { return liveObjects(e); });
}

std::pair<ManagedObject*, ManagedObject*> Context::dateExtremes(QStringView entity,
                                                                QStringView attribute) const {
    const int e = entityIndex(entity);
    const auto& description = model().entity(e);
    const int a = *description.attributeIndex(description.attribute(attribute).name);
    return m_indexes.dateExtremes(e, a, [this, e] { return liveObjects(e); });
}

int Context::relationshipIndex(int entity, QStringView relationship) const {
    const auto& description = model().entity(entity);
    return *description.relationshipIndex(description.relationship(relationship).name);
}

void Context::registerOrdering(QStringView entity, QStringView relationship, QString name,
                               ContextIndexes::OrderingLess less, const QStringList& keyAttributes) {
    const int e = entityIndex(entity);
    const int r = relationshipIndex(e, relationship);
    const int member =
        entityIndex(model().entity(e).relationships()[static_cast<std::size_t>(r)].destination);
    std::vector<int> keys;
    for (const QString& name : keyAttributes) {
        const std::optional<int> index = model().entity(member).attributeIndex(name);
        if (!index) {
            throw platform::InternalError(QStringLiteral("No attribute %1 to order by").arg(name));
        }
        keys.push_back(*index);
    }
    m_indexes.registerOrdering(e, r, std::move(name), std::move(less), std::move(keys));
}

bool Context::hasOrdering(QStringView entity, QStringView relationship, QStringView name) const {
    const int e = entityIndex(entity);
    return m_indexes.hasOrdering(e, relationshipIndex(e, relationship), name);
}

const std::vector<ManagedObject*>& Context::orderedToMany(ManagedObject& owner, QStringView relationship,
                                                          QStringView ordering) const {
    if (owner.isDeleted()) {
        throw platform::InternalError("Ordered relationship of a deleted object");
    }
    return m_indexes.ordered(owner, owner.relationshipIndex(relationship), ordering);
}

void Context::registerToManySum(QStringView entity, QStringView relationship, QString name,
                                QStringView attribute, ContextIndexes::MemberFilter include) {
    const int e = entityIndex(entity);
    m_indexes.registerSum(e, relationshipIndex(e, relationship), std::move(name), attribute,
                          std::move(include));
}

platform::Amount Context::toManySum(ManagedObject& owner, QStringView relationship, QStringView name) const {
    if (&owner.context() != this) {
        throw platform::InternalError("Sum over a relationship of another context's object");
    }
    if (owner.isDeleted()) {
        throw platform::InternalError("Sum over a relationship of a deleted object");
    }
    return m_indexes.sum(owner, owner.relationshipIndex(relationship), name);
}

bool Context::hasToManySum(QStringView entity, QStringView relationship, QStringView name) const {
    const int e = entityIndex(entity);
    return m_indexes.hasSum(e, relationshipIndex(e, relationship), name);
}

// ---- Editing ---------------------------------------------------------------------------------

ManagedObject* Context::insert(QStringView entity) {
    const int e = entityIndex(entity);
    const ObjectID id{e, m_store->allocateKey(e)};
    UndoManager::GroupScope group(m_undo);
    ManagedObject& object = create(id);
    object.setFlag(ManagedObject::kInserted);
    noteChanged(object);
    m_undo.record({UndoRecord::Kind::Insertion, id, -1, {}, {}, {}, {}, {}});
    return &object;
}

void Context::checkEditable(const ManagedObject& object) const {
    if (&object.context() != this) {
        throw platform::InternalError("Object of another context");
    }
    if (object.isDeleted()) {
        throw platform::InternalError(QStringLiteral("%1 is deleted").arg(object.id().toText(model())));
    }
}

void Context::setAttribute(ManagedObject& object, int attribute, Value value) {
    checkEditable(object);
    if (attribute < 0 || attribute >= object.layout().attributeCount()) {
        throw platform::InternalError("Attribute index out of range");
    }
    if (!object.layout().accepts(attribute, value)) {
        throw platform::InternalError(
            QStringLiteral("Value of the wrong type for %1.%2")
                .arg(object.entity().name(), object.entity().attributes()[attribute].name));
    }
    UndoManager::GroupScope group(m_undo);
    writeAttribute(object, attribute, std::move(value), Tracking::Record);
}

void Context::setRelationship(ManagedObject& object, int relationship, ManagedObject* target) {
    checkEditable(object);
    if (relationship < 0 || relationship >= object.layout().relationshipCount()) {
        throw platform::InternalError("Relationship index out of range");
    }
    const auto& info = object.layout().relationship(relationship);
    if (info.cardinality != Cardinality::ToOne) {
        throw platform::InternalError("setToOne on a to-many");
    }
    if (target) {
        checkEditable(*target);
        if (target->id().entity != info.destination) {
            throw platform::InternalError("Related object of the wrong entity");
        }
    }
    UndoManager::GroupScope group(m_undo);
    ManagedObject* previous = object.storedToOne(relationship);
    if (previous == target) {
        return;
    }
    if (info.inverse >= 0 && !info.inverseIsToMany) {
        // One-to-one: both ends let go of their previous partners.
        if (previous && previous->storedToOne(info.inverse) == &object) {
            writeToOne(*previous, info.inverse, nullptr, Tracking::Record);
        }
        ManagedObject* partner = target ? target->storedToOne(info.inverse) : nullptr;
        if (partner && partner != &object && partner->storedToOne(relationship) == target) {
            writeToOne(*partner, relationship, nullptr, Tracking::Record);
        }
        writeToOne(object, relationship, target, Tracking::Record);
        if (target) {
            writeToOne(*target, info.inverse, &object, Tracking::Record);
        }
        return;
    }
    writeToOne(object, relationship, target, Tracking::Record);
}

void Context::writeAttribute(ManagedObject& object, int attribute, Value value, Tracking tracking) {
    const Value before = object.value(attribute);
    if (sameValue(before, value)) {
        return;
    }
    const bool indexed = m_indexes.watchesAttribute(object.id().entity, attribute);
    if (indexed) {
        m_indexes.attributeWillChange(object, attribute);
    }
    if (tracking == Tracking::Record) {
        track(object, attribute, before, value, {}, {});
    } else if (const auto* entry = object.committedEntry(attribute);
               entry && sameValue(entry->value, value)) {
        object.removeCommittedEntry(attribute);
    }
    // Every memberWillChange is followed by memberChanged, or the cached sums would go out of step.
    m_indexes.memberWillChange(object);
    try {
        object.storeValue(attribute, std::move(value));
    } catch (...) {
        m_indexes.memberChanged(object, attribute);
        throw;
    }
    m_indexes.memberChanged(object, attribute);
    if (indexed) {
        m_indexes.attributeDidChange(object, attribute);
    }
}

void Context::writeToOne(ManagedObject& object, int relationship, ManagedObject* target, Tracking tracking) {
    ManagedObject* before = object.storedToOne(relationship);
    if (before == target) {
        return;
    }
    const int property = object.layout().attributeCount() + relationship;
    if (tracking == Tracking::Record) {
        track(object, property, {}, {}, idOf(before), idOf(target));
    } else if (const auto* entry = object.committedEntry(property); entry && entry->target == idOf(target)) {
        object.removeCommittedEntry(property);
    }
    const auto& info = object.layout().relationship(relationship);
    m_indexes.memberWillChange(object);
    try {
        if (info.inverse >= 0 && info.inverseIsToMany) {
            if (before) {
                removeMember(before->storedToMany(info.inverse), &object);
                m_indexes.memberRemoved(*before, info.inverse, object);
            }
            object.storeToOne(relationship, target);
            if (target) {
                target->storedToMany(info.inverse).push_back(&object);
                m_indexes.memberAdded(*target, info.inverse, object);
            }
        } else {
            if (info.inverse < 0 && before) {
                const auto [first, last] = m_referrers.equal_range(before);
                const auto it = std::find_if(first, last, [&](const auto& entry) {
                    return entry.second == std::pair(&object, relationship);
                });
                if (it != last) {
                    m_referrers.erase(it);
                }
            }
            object.storeToOne(relationship, target);
            if (info.inverse < 0 && target) {
                m_referrers.emplace(target, std::pair(&object, relationship));
            }
        }
    } catch (...) {
        m_indexes.memberChanged(object); // the member's share returns to the sums
        throw;
    }
    m_indexes.memberChanged(object);
}

void Context::track(ManagedObject& object, int property, const Value& before, const Value& after,
                    const std::optional<ObjectID>& targetBefore, const std::optional<ObjectID>& targetAfter) {
    const bool isToOne = property >= object.layout().attributeCount();
    if (!object.hasFlag(ManagedObject::kInserted)) {
        const auto* entry = object.committedEntry(property);
        if (!entry) {
            object.addCommittedEntry({property, before, targetBefore});
        } else if (isToOne ? entry->target == targetAfter : sameValue(entry->value, after)) {
            object.removeCommittedEntry(property); // back to the saved value
        }
    }
    noteChanged(object);
    if (m_undo.isRecording()) {
        const int index = isToOne ? property - object.layout().attributeCount() : property;
        m_undo.record({isToOne ? UndoRecord::Kind::ToOne : UndoRecord::Kind::Attribute,
                       object.id(),
                       index,
                       before,
                       after,
                       targetBefore,
                       targetAfter,
                       {}});
    }
}

void Context::noteChanged(const ManagedObject& object) {
    if (m_changed.insert(object.id()).second) {
        m_changedOrder.push_back(object.id());
    }
}

// ---- Deleting --------------------------------------------------------------------------------

std::vector<ManagedObject*> Context::deletionClosure(ManagedObject& object) const {
    std::vector<ManagedObject*> closure{&object};
    std::unordered_set<const ManagedObject*> seen{&object};
    const auto reach = [&](ManagedObject* other) {
        if (other && !other->isDeleted() && seen.insert(other).second) {
            closure.push_back(other);
        }
    };
    for (std::size_t i = 0; i < closure.size(); ++i) {
        ManagedObject& current = *closure[i];
        const auto& relationships = current.entity().relationships();
        for (std::size_t r = 0; r < relationships.size(); ++r) {
            if (relationships[r].deleteRule != DeleteRule::Cascade) {
                continue;
            }
            const int index = static_cast<int>(r);
            if (relationships[r].cardinality == Cardinality::ToOne) {
                reach(current.storedToOne(index));
            } else {
                for (ManagedObject* member : current.storedToMany(index)) {
                    reach(member);
                }
            }
        }
    }
    return closure;
}

const ManagedObject* Context::deniedBy(const std::vector<ManagedObject*>& closure) const {
    const std::unordered_set<const ManagedObject*> doomed(closure.begin(), closure.end());
    const auto outside = [&](const ManagedObject* other) { return other && !doomed.contains(other); };
    for (ManagedObject* object : closure) {
        const auto& relationships = object->entity().relationships();
        for (std::size_t r = 0; r < relationships.size(); ++r) {
            if (relationships[r].deleteRule != DeleteRule::Deny) {
                continue;
            }
            const int index = static_cast<int>(r);
            if (relationships[r].cardinality == Cardinality::ToOne
                    ? outside(object->storedToOne(index))
                    : std::any_of(object->storedToMany(index).begin(), object->storedToMany(index).end(),
                                  outside)) {
                return object;
            }
        }
    }
    return nullptr;
}

bool Context::canDelete(ManagedObject* object) const {
    return object && &object->context() == this && !object->isDeleted() &&
           !deniedBy(deletionClosure(*object));
}

void Context::deleteObject(ManagedObject* object) {
    if (!object) {
        throw platform::InternalError("Deleting nothing");
    }
    checkEditable(*object);
    const auto closure = deletionClosure(*object);
    if (const ManagedObject* denying = deniedBy(closure)) {
        throw platform::InternalError(QStringLiteral("Deleting %1 is denied by %2")
                                          .arg(object->id().toText(model()), denying->id().toText(model())));
    }
    UndoManager::GroupScope group(m_undo);
    for (ManagedObject* doomed : closure) {
        unlink(*doomed, Tracking::Record);
    }
    for (ManagedObject* doomed : closure) {
        markDeleted(*doomed);
    }
}

void Context::unlink(ManagedObject& object, Tracking tracking) {
    const EntityLayout& entityLayout = object.layout();
    for (int r = 0; r < entityLayout.relationshipCount(); ++r) {
        const auto& info = entityLayout.relationship(r);
        if (info.cardinality == Cardinality::ToMany) {
            const std::vector<ManagedObject*> members = object.storedToMany(r);
            for (ManagedObject* member : members) {
                writeToOne(*member, info.inverse, nullptr, tracking);
            }
            continue;
        }
        ManagedObject* target = object.storedToOne(r);
        if (target && info.inverse >= 0 && !info.inverseIsToMany &&
            target->storedToOne(info.inverse) == &object) {
            writeToOne(*target, info.inverse, nullptr, tracking);
        }
        writeToOne(object, r, nullptr, tracking);
    }
    // To-ones without an inverse that point here forget this object rather than dangle.
    std::vector<std::pair<ManagedObject*, int>> referrers;
    const auto [first, last] = m_referrers.equal_range(&object);
    for (auto it = first; it != last; ++it) {
        referrers.push_back(it->second);
    }
    for (const auto& [referrer, relationship] : referrers) {
        writeToOne(*referrer, relationship, nullptr, tracking);
    }
}

void Context::markDeleted(ManagedObject& object) {
    if (m_undo.isRecording()) {
        UndoRecord record{UndoRecord::Kind::Deletion, object.id(), -1, {}, {}, {}, {}, {}};
        for (int a = 0; a < object.layout().attributeCount(); ++a) {
            record.attributes.push_back(object.value(a));
        }
        m_undo.record(std::move(record));
    }
    m_indexes.objectDisappeared(object);
    object.setFlag(ManagedObject::kDeleted);
    noteChanged(object);
}

void Context::unmarkDeleted(ManagedObject& object) {
    object.clearFlag(ManagedObject::kDeleted);
    m_indexes.objectAppeared(object);
    noteChanged(object);
}

void Context::destroy(const std::vector<ManagedObject*>& objects) {
    std::vector<bool> touched(m_entities.size(), false);
    for (ManagedObject* object : objects) {
        unlink(*object, Tracking::Silent);
        m_indexes.objectDisappeared(*object);
        objectsOf(object->id().entity).byKey.remove(object->id().key);
        object->setFlag(ManagedObject::kDoomed);
        touched[static_cast<std::size_t>(object->id().entity)] = true;
    }
    for (std::size_t e = 0; e < touched.size(); ++e) {
        if (touched[e]) {
            std::erase_if(m_entities[e].objects,
                          [](const auto& object) { return object->hasFlag(ManagedObject::kDoomed); });
        }
    }
}

// ---- Validating and saving -------------------------------------------------------------------

void Context::setValidator(QStringView entity, ObjectValidator::Validator validator) {
    m_validator.setValidator(entityIndex(entity), std::move(validator));
}

std::optional<ValidationError> Context::validate(ManagedObject& object, ValidationPhase phase) const {
    return m_validator.validate(object, phase);
}

std::vector<ManagedObject*> Context::changedObjects() const {
    std::vector<ManagedObject*> objects;
    objects.reserve(m_changedOrder.size());
    for (const ObjectID& id : m_changedOrder) {
        if (ManagedObject* object = find(id, Lookup::IncludingDeleted)) {
            objects.push_back(object);
        }
    }
    return objects;
}

bool Context::hasChanges() const {
    const auto objects = changedObjects();
    return std::any_of(objects.begin(), objects.end(),
                       [](const ManagedObject* o) { return o->hasChanges(); });
}

std::vector<ManagedObject*> Context::insertedObjects() const {
    auto objects = changedObjects();
    std::erase_if(objects, [](const ManagedObject* o) { return !o->isInserted(); });
    return objects;
}

std::vector<ManagedObject*> Context::updatedObjects() const {
    auto objects = changedObjects();
    std::erase_if(objects, [](const ManagedObject* o) { return !o->isUpdated(); });
    return objects;
}

std::vector<ManagedObject*> Context::deletedObjects() const {
    auto objects = changedObjects();
    std::erase_if(objects, [](const ManagedObject* o) {
        return !o->isDeleted() || o->hasFlag(ManagedObject::kInserted);
    });
    return objects;
}

SaveResult Context::save() {
    if (m_undo.m_depth > 0) {
        throw platform::InternalError("save while an undo group is open");
    }
    SaveResult result;
    for (ManagedObject* object : changedObjects()) {
        if (!object->isInserted() && !object->isUpdated()) {
            continue;
        }
        const auto phase = object->isInserted() ? ValidationPhase::Insert : ValidationPhase::Update;
        if (auto error = validate(*object, phase)) {
            result.error = ObjectValidator::appendInOrder(result.error, *error);
            result.failures.push_back({object, std::move(*error)});
        }
    }
    if (result.error) {
        return result;
    }
    ChangeSet changes = collectChanges();
    if (!changes.isEmpty()) {
        try {
            m_store->apply(changes);
        } catch (const std::runtime_error& failure) {
            result.storeFailure = QString::fromUtf8(failure.what());
            return result;
        }
    }
    commit();
    if (changes.isEmpty()) {
        return result;
    }
    result.changes = std::move(changes);
    const auto observers = m_observers; // an observer may remove itself
    for (const auto& [token, observer] : observers) {
        observer(result.changes);
    }
    return result;
}

ObjectState Context::stateOf(const ManagedObject& object) const {
    ObjectState state{object.id(), {}, {}};
    const EntityLayout& entityLayout = object.layout();
    state.attributes.reserve(static_cast<std::size_t>(entityLayout.attributeCount()));
    for (int a = 0; a < entityLayout.attributeCount(); ++a) {
        state.attributes.push_back(object.value(a));
    }
    for (int r = 0; r < entityLayout.relationshipCount(); ++r) {
        const bool toOne = entityLayout.relationship(r).cardinality == Cardinality::ToOne;
        state.toOne.push_back(toOne ? idOf(object.storedToOne(r)) : std::nullopt);
    }
    return state;
}

ChangeSet Context::collectChanges() const {
    ChangeSet changes;
    for (const ManagedObject* object : changedObjects()) {
        if (object->isInserted()) {
            changes.inserted.push_back(stateOf(*object));
        } else if (object->isDeleted() && !object->hasFlag(ManagedObject::kInserted)) {
            changes.deleted.push_back(object->id());
        } else if (object->isUpdated()) {
            std::vector<int> properties;
            for (const auto& entry : *object->m_committed) {
                properties.push_back(entry.property);
            }
            std::sort(properties.begin(), properties.end());
            ObjectUpdate update{object->id(), {}, {}};
            const int attributes = object->layout().attributeCount();
            for (const int property : properties) {
                if (property < attributes) {
                    update.attributes.emplace_back(property, object->value(property));
                } else {
                    update.toOne.emplace_back(property - attributes,
                                              idOf(object->storedToOne(property - attributes)));
                }
            }
            changes.updated.push_back(std::move(update));
        }
    }
    return changes;
}

void Context::commit() {
    std::vector<ManagedObject*> doomed;
    for (ManagedObject* object : changedObjects()) {
        if (object->isDeleted()) {
            doomed.push_back(object);
        } else {
            object->clearFlag(ManagedObject::kInserted);
            object->clearCommittedEntries();
        }
    }
    destroy(doomed);
    m_changed.clear();
    m_changedOrder.clear();
}

void Context::rollback() {
    m_undo.clear();
    const auto objects = changedObjects();
    for (ManagedObject* object : objects) {
        if (object->isDeleted() && !object->hasFlag(ManagedObject::kInserted)) {
            unmarkDeleted(*object);
        }
    }
    std::vector<ManagedObject*> inserted;
    const auto restore = [this](ManagedObject& object) {
        if (!object.m_committed) {
            return;
        }
        const int attributes = object.layout().attributeCount();
        const auto entries = *object.m_committed;
        for (const auto& entry : entries) {
            if (entry.property < attributes) {
                writeAttribute(object, entry.property, entry.value, Tracking::Silent);
            } else {
                writeToOne(object, entry.property - attributes, find(entry.target, Lookup::IncludingDeleted),
                           Tracking::Silent);
            }
        }
        object.clearCommittedEntries();
    };
    for (ManagedObject* object : objects) {
        if (object->hasFlag(ManagedObject::kInserted)) {
            inserted.push_back(object);
        } else {
            restore(*object);
        }
    }
    destroy(inserted);
    m_changed.clear();
    m_changedOrder.clear();
}

Context::ObserverToken Context::addSaveObserver(SaveObserver observer) {
    const ObserverToken token = m_nextObserver++;
    m_observers.emplace(token, std::move(observer));
    return token;
}

void Context::removeSaveObserver(ObserverToken token) {
    m_observers.erase(token);
}

// ---- Merging ---------------------------------------------------------------------------------

void Context::mergeChanges(const ChangeSet& changes) {
    ChangeMerger(*this).merge(changes);
}

} // namespace vantrel::objectstore
