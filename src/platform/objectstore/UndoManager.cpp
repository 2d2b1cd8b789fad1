#include "platform/objectstore/UndoManager.h"

#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

#include <QTimer>

namespace vantrel::objectstore {

UndoManager::UndoManager(Context& context)
    : m_context(context) {}

void UndoManager::beginGroup() {
    ++m_depth;
}

void UndoManager::endGroup() {
    if (m_depth == 0) {
        throw platform::InternalError("endGroup without beginGroup");
    }
    if (--m_depth == 0 && !m_open.empty()) {
        if (m_groupsByEvent) {
            if (!m_eventEndScheduled) {
                m_eventEndScheduled = true;
                QTimer::singleShot(0, m_eventEnd.get(), [this] { closeEventGroup(); });
            }
            return;
        }
        m_undo.push_back(std::move(m_open));
        m_open.clear();
    }
}

void UndoManager::setGroupsByEvent(bool on) {
    m_groupsByEvent = on;
    if (on && !m_eventEnd) {
        m_eventEnd = std::make_unique<QObject>();
    }
}

void UndoManager::closeEventGroup() {
    m_eventEndScheduled = false;
    if (hasEventGroup()) {
        m_undo.push_back(std::move(m_open));
        m_open.clear();
    }
}

void UndoManager::undo() {
    if (m_depth > 0) {
        throw platform::InternalError("undo while an undo group is open");
    }
    closeEventGroup();
    if (m_undo.empty()) {
        return;
    }
    Group group = std::move(m_undo.back());
    m_undo.pop_back();
    apply(group, Direction::Undo);
    m_redo.push_back(std::move(group));
}

void UndoManager::redo() {
    if (m_depth > 0) {
        throw platform::InternalError("redo while an undo group is open");
    }
    closeEventGroup();
    if (m_redo.empty()) {
        return;
    }
    Group group = std::move(m_redo.back());
    m_redo.pop_back();
    apply(group, Direction::Redo);
    m_undo.push_back(std::move(group));
}

void UndoManager::clear() {
    m_undo.clear();
    m_redo.clear();
    m_open.clear();
}

void UndoManager::enable() {
    if (m_disabled == 0) {
        throw platform::InternalError("enable without disable");
    }
    --m_disabled;
}

void UndoManager::record(UndoRecord record) {
    if (!isRecording()) {
        return;
    }
    if (m_depth == 0) {
        throw platform::InternalError("A change was recorded outside any undo group");
    }
    m_redo.clear(); // a new change ends the redo history
    m_open.push_back(std::move(record));
}

void UndoManager::apply(const Group& group, Direction direction) {
    m_applying = true;
    try {
        if (direction == Direction::Undo) {
            for (auto it = group.rbegin(); it != group.rend(); ++it) {
                applyRecord(*it, direction);
            }
        } else {
            for (const auto& record : group) {
                applyRecord(record, direction);
            }
        }
    } catch (...) {
        m_applying = false;
        throw;
    }
    m_applying = false;
}

void UndoManager::applyRecord(const UndoRecord& record, Direction direction) {
    const bool undoing = direction == Direction::Undo;
    switch (record.kind) {
    case UndoRecord::Kind::Attribute:
        replayAttribute(record.object, record.property, undoing ? record.before : record.after);
        return;
    case UndoRecord::Kind::ToOne:
        replayToOne(record.object, record.property, undoing ? record.targetBefore : record.targetAfter);
        return;
    case UndoRecord::Kind::Insertion:
        if (undoing) {
            replayUninsert(record.object);
        } else {
            replayRestore(record.object, nullptr);
        }
        return;
    case UndoRecord::Kind::Deletion:
        if (undoing) {
            replayRestore(record.object, &record.attributes);
        } else {
            replayDelete(record.object);
        }
        return;
    }
}

void UndoManager::replayAttribute(const ObjectID& id, int attribute, const Value& value) {
    if (ManagedObject* object = m_context.find(id, Context::Lookup::IncludingDeleted)) {
        m_context.writeAttribute(*object, attribute, value, Context::Tracking::Record);
    }
}

void UndoManager::replayToOne(const ObjectID& id, int relationship, const std::optional<ObjectID>& target) {
    if (ManagedObject* object = m_context.find(id, Context::Lookup::IncludingDeleted)) {
        m_context.writeToOne(*object, relationship, m_context.find(target, Context::Lookup::IncludingDeleted),
                             Context::Tracking::Record);
    }
}

void UndoManager::replayUninsert(const ObjectID& id) {
    ManagedObject* object = m_context.find(id, Context::Lookup::IncludingDeleted);
    if (!object || object->isDeleted()) {
        return;
    }
    m_context.unlink(*object, Context::Tracking::Record);
    if (object->hasFlag(ManagedObject::kInserted)) {
        m_context.destroy({object}); // never saved: it leaves no trace
    } else {
        m_context.markDeleted(*object); // saved since: undoing the insert deletes it from the store
    }
}

void UndoManager::replayDelete(const ObjectID& id) {
    ManagedObject* object = m_context.find(id, Context::Lookup::IncludingDeleted);
    if (object && !object->isDeleted()) {
        m_context.unlink(*object, Context::Tracking::Record);
        m_context.markDeleted(*object);
    }
}

void UndoManager::replayRestore(const ObjectID& id, const std::vector<Value>* attributes) {
    if (ManagedObject* object = m_context.find(id, Context::Lookup::IncludingDeleted)) {
        if (object->isDeleted()) {
            m_context.unmarkDeleted(*object);
        }
        return;
    }
    // The object is gone from the store (its deletion was saved): it comes back as a new one.
    ManagedObject& object = m_context.create(id);
    object.setFlag(ManagedObject::kInserted);
    if (attributes) {
        std::vector<Value> values = *attributes;
        m_context.fill(object, values);
    }
    m_context.m_indexes.objectAppeared(object);
    m_context.noteChanged(object);
}

} // namespace vantrel::objectstore
