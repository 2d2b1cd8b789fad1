#pragma once

#include "platform/objectstore/UndoRecord.h"

#include <QObject>

#include <memory>
#include <vector>

namespace vantrel::objectstore {

class Context;

// The undo stack of one context. Every change of the graph (attributes, to-ones with their inverse
// effects, inserts, deletes with everything their delete rules did) is recorded into the open group.
// Groups: beginGroup()/endGroup() nest; a change made with no group open is its own group (each
// top-level call such as setValue, setToOne, insert or deleteObject). Undo and redo restore the graph
// exactly. Merging and loading are never recorded.
class UndoManager {
public:
    explicit UndoManager(Context& context);
    UndoManager(const UndoManager&) = delete;
    UndoManager& operator=(const UndoManager&) = delete;

    void beginGroup();
    void endGroup(); // InternalError without a matching beginGroup

    bool canUndo() const { return !m_undo.empty() || hasEventGroup(); }
    bool canRedo() const { return !m_redo.empty() && !hasEventGroup(); }
    // InternalError while a group is open.
    void undo();
    void redo();
    void clear();

    // The desktop's grouping: every change made while one event is handled (a click, a key, a
    // menu command) becomes one undo step, closed when the event loop next runs. Needs an event
    // loop; off by default, where each top-level call is its own step.
    void setGroupsByEvent(bool on);

    // While disabled (nesting), nothing is recorded.
    void disable() { ++m_disabled; }
    void enable();
    bool isEnabled() const { return m_disabled == 0; }

    // Opens a group for the length of a scope (used by the context around each top-level call).
    class GroupScope {
    public:
        explicit GroupScope(UndoManager& manager)
            : m_manager(manager) {
            m_manager.beginGroup();
        }
        ~GroupScope() { m_manager.endGroup(); }
        GroupScope(const GroupScope&) = delete;
        GroupScope& operator=(const GroupScope&) = delete;

    private:
        UndoManager& m_manager;
    };

private:
    friend class Context;
    enum class Direction { Undo, Redo };
    using Group = std::vector<UndoRecord>;

    bool isRecording() const { return isEnabled() && !m_applying; }
    bool hasEventGroup() const { return m_depth == 0 && !m_open.empty(); }
    void closeEventGroup();
    void record(UndoRecord record);
    void apply(const Group& group, Direction direction);
    void applyRecord(const UndoRecord& record, Direction direction);
    void replayAttribute(const ObjectID& id, int attribute, const Value& value);
    void replayToOne(const ObjectID& id, int relationship, const std::optional<ObjectID>& target);
    void replayUninsert(const ObjectID& id);
    void replayDelete(const ObjectID& id);
    void replayRestore(const ObjectID& id, const std::vector<Value>* attributes);

    Context& m_context;
    std::vector<Group> m_undo;
    std::vector<Group> m_redo;
    Group m_open;
    int m_depth = 0;
    int m_disabled = 0;
    bool m_applying = false;
    bool m_groupsByEvent = false;
    bool m_eventEndScheduled = false;
    // Receiver of the scheduled end of an event's group: destroyed with the manager, so a pending
    // end never reaches a manager that is gone. Made only when grouping by event, on the thread
    // that runs the event loop (a worker's context never needs one).
    std::unique_ptr<QObject> m_eventEnd;
};

} // namespace vantrel::objectstore
