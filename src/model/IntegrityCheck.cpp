#include "model/IntegrityCheck.h"

#include "model/ObjectRepair.h"
#include "model/StoreDump.h"
#include "platform/Log.h"

namespace vantrel::model {

namespace {

using objectstore::ObjectID;
using objectstore::ValidationPhase;

std::vector<ObjectID> idsOf(const std::vector<objectstore::ManagedObject*>& objects) {
    std::vector<ObjectID> ids;
    ids.reserve(objects.size());
    for (const objectstore::ManagedObject* object : objects) {
        ids.push_back(object->id());
    }
    return ids;
}

void repairEach(objectstore::Context& reparation, const std::vector<ObjectID>& ids, ValidationPhase phase,
                const char* failure) {
    for (const ObjectID& id : ids) {
        objectstore::ManagedObject* object = reparation.object(id);
        if (object == nullptr) {
            platform::Log::write(
                QStringLiteral("Failed to retrieve invalid object: %1")
                    .arg(QStringLiteral("No object %1 in the store").arg(id.toText(reparation.model()))));
            continue;
        }
        const auto error = reparation.validate(*object, phase);
        if (!error || ObjectRepair::repairInvalidObject(*object, *error)) {
            continue;
        }
        platform::Log::write(QString::fromLatin1(failure).arg(StoreDump::labelFor(object), error->message));
    }
}

} // namespace

bool IntegrityCheck::allManagedObjectsAreValid(objectstore::Context& context) {
    for (const auto& entity : context.model().entities()) {
        for (objectstore::ManagedObject* object : context.all(entity.name())) {
            if (const auto error = context.validate(*object, ValidationPhase::Update)) {
                platform::Log::write(StoreDump::labelFor(object));
                platform::Log::write(error->message);
                return false;
            }
        }
    }
    return true;
}

bool IntegrityCheck::repairAfterFailedSave(objectstore::Context& failed, objectstore::Context& reparation) {
    const auto inserted = idsOf(failed.insertedObjects());
    const auto updated = idsOf(failed.updatedObjects());
    const auto deleted = idsOf(failed.deletedObjects());
    repairEach(reparation, inserted, ValidationPhase::Insert,
               "Failed to repair inserted object: %1 with error %2");
    repairEach(reparation, updated, ValidationPhase::Update,
               "Failed to repair updated object: %1 with error %2");
    repairEach(reparation, deleted, ValidationPhase::Delete,
               "Failed to repair deleted object: %1 with error %2");
    return true;
}

} // namespace vantrel::model
