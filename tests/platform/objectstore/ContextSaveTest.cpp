#include "ContextTestModel.h"
#include "platform/InternalError.h"

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

using namespace testing;

ValidationError appError(int code) {
    return ValidationError{"VTVantrelErrorDomain", code, QStringLiteral("error %1").arg(code), {}, {}};
}

QString propertyOf(const ValidationError& error) {
    return error.userInfo.value(ValidationError::kPropertyKey).toString();
}

class ContextSaveTest : public ::testing::Test {
protected:
    std::shared_ptr<MemoryStore> store = makeStore();
    Context context{store};

    ManagedObject* account(const QString& name) {
        ManagedObject* object = context.insert(u"Account");
        object->setValue(u"name", name);
        return object;
    }
};

TEST_F(ContextSaveTest, MissingMandatoryPropertiesAreCombinedInTheOrderFound) {
    ManagedObject* split = context.insert(u"Split"); // lacks amount and splitSet
    context.setValidator(u"Split", [](ManagedObject&, ValidationPhase phase) {
        return phase == ValidationPhase::Insert ? std::optional(appError(100)) : std::nullopt;
    });
    const auto result = context.save();
    ASSERT_FALSE(result.succeeded());
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(result.failures[0].object, split);
    const ValidationError& error = *result.error;
    EXPECT_EQ(error.code, ValidationError::kMultipleErrorsCode);
    ASSERT_EQ(error.detailedErrors.size(), 3u);
    EXPECT_EQ(error.detailedErrors[0].code, ValidationError::kMissingMandatoryPropertyCode);
    EXPECT_EQ(propertyOf(error.detailedErrors[0]), "amount");
    EXPECT_EQ(propertyOf(error.detailedErrors[1]), "splitSet");
    EXPECT_EQ(error.detailedErrors[2].code, 100);
}

TEST_F(ContextSaveTest, ASingleMissingPropertyIsASingleError) {
    context.insert(u"Account");
    const auto result = context.save();
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->code, ValidationError::kMissingMandatoryPropertyCode);
    EXPECT_EQ(propertyOf(*result.error), "name");
    EXPECT_EQ(result.error->domain, ValidationError::kPlatformDomain);
}

TEST_F(ContextSaveTest, FailedValidationWritesNothingAndKeepsEveryChange) {
    ManagedObject* a = account("A");
    ASSERT_TRUE(context.save().succeeded());
    const int applies = store->applyCount();

    a->setValue(u"name", Value());                 // invalid update
    ManagedObject* b = account("B");               // valid insert
    ManagedObject* c = context.insert(u"Account"); // invalid insert
    const auto before = snapshot(context);
    const auto result = context.save();
    ASSERT_FALSE(result.succeeded());
    ASSERT_EQ(result.failures.size(), 2u);
    EXPECT_EQ(result.failures[0].object, a);
    EXPECT_EQ(result.failures[1].object, c);
    EXPECT_EQ(result.error->code, ValidationError::kMultipleErrorsCode);
    EXPECT_EQ(result.error->detailedErrors.size(), 2u);
    EXPECT_TRUE(result.changes.isEmpty());
    EXPECT_EQ(store->applyCount(), applies);
    EXPECT_EQ(store->count(0), 1u);
    EXPECT_EQ(snapshot(context), before);
    EXPECT_TRUE(a->isUpdated());
    EXPECT_TRUE(b->isInserted());

    a->setValue(u"name", QStringLiteral("A2"));
    c->setValue(u"name", QStringLiteral("C"));
    EXPECT_TRUE(context.save().succeeded());
    EXPECT_EQ(store->count(0), 3u);
}

TEST_F(ContextSaveTest, ValidatorSeesThePhase) {
    std::vector<ValidationPhase> phases;
    context.setValidator(u"Account", [&phases](ManagedObject&, ValidationPhase phase) {
        phases.push_back(phase);
        return std::optional<ValidationError>();
    });
    ManagedObject* a = account("A");
    ASSERT_TRUE(context.save().succeeded());
    a->setValue(u"name", QStringLiteral("B"));
    ASSERT_TRUE(context.save().succeeded());
    context.deleteObject(a);
    ASSERT_TRUE(context.save().succeeded()); // deleted objects are not validated
    EXPECT_EQ(phases, (std::vector{ValidationPhase::Insert, ValidationPhase::Update}));
    // The repair code asks for delete validation itself: no mandatory checks then.
    EXPECT_EQ(context.validate(*context.insert(u"Account"), ValidationPhase::Delete), std::nullopt);
}

TEST_F(ContextSaveTest, ChangeSetHoldsFullInsertsChangedPropertiesAndDeletedIds) {
    ManagedObject* a = account("A");
    ManagedObject* b = account("B");
    ManagedObject* t = context.insert(u"Transaction");
    t->setToOne(u"account", a);
    t->setValue(u"amount", amount("-4.20"));
    auto result = context.save();
    ASSERT_TRUE(result.succeeded());
    ASSERT_EQ(result.changes.inserted.size(), 3u);
    const ObjectState& state = result.changes.inserted[2];
    EXPECT_EQ(state.id, t->id());
    ASSERT_EQ(state.attributes.size(), 7u);
    EXPECT_TRUE(sameValue(state.attributes[2], amount("-4.2")));
    EXPECT_TRUE(isAbsent(state.attributes[1]));
    EXPECT_EQ(state.toOne,
              (std::vector<std::optional<ObjectID>>{a->id(), std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(store->find(t->id())->toOne[0], a->id());

    t->setToOne(u"account", b);
    t->setValue(u"title", QStringLiteral("Rent"));
    const ObjectID deletedID = a->id();
    context.deleteObject(a);
    result = context.save(); // destroys a
    ASSERT_TRUE(result.succeeded());
    EXPECT_TRUE(result.changes.inserted.empty());
    ASSERT_EQ(result.changes.updated.size(), 1u); // the account's to-many is not a stored change
    const ObjectUpdate& update = result.changes.updated[0];
    EXPECT_EQ(update.id, t->id());
    ASSERT_EQ(update.attributes.size(), 1u);
    EXPECT_EQ(update.attributes[0].first, 1);
    EXPECT_TRUE(sameValue(update.attributes[0].second, QString("Rent")));
    EXPECT_EQ(update.toOne, (std::vector<std::pair<int, std::optional<ObjectID>>>{{0, b->id()}}));
    EXPECT_EQ(result.changes.deleted, std::vector<ObjectID>{deletedID});
    EXPECT_FALSE(context.hasChanges());
    EXPECT_FALSE(t->isUpdated());
    EXPECT_EQ(store->find(t->id())->toOne[0], b->id());
}

TEST_F(ContextSaveTest, StoreFailureKeepsTheChanges) {
    ManagedObject* a = account("A");
    ASSERT_TRUE(context.save().succeeded());
    Context other(store);
    other.deleteObject(other.object(a->id()));
    ASSERT_TRUE(other.save().succeeded());

    a->setValue(u"name", QStringLiteral("B")); // the store no longer has it
    account("C");
    const auto result = context.save();
    EXPECT_FALSE(result.succeeded());
    EXPECT_FALSE(result.storeFailure.isEmpty());
    EXPECT_FALSE(result.error);
    EXPECT_EQ(store->count(0), 0u);
    EXPECT_EQ(context.insertedObjects().size(), 1u);
    EXPECT_EQ(context.updatedObjects(), std::vector<ManagedObject*>{a});
}

TEST_F(ContextSaveTest, ObserversHearEverySuccessfulSave) {
    std::vector<std::size_t> inserted;
    const auto token = context.addSaveObserver(
        [&](const ChangeSet& changes) { inserted.push_back(changes.inserted.size()); });
    account("A");
    account("B");
    context.save();
    context.save(); // empty: nobody is told
    context.insert(u"Account");
    context.save(); // invalid: nobody is told
    context.rollback();
    context.removeSaveObserver(token);
    account("C");
    context.save();
    EXPECT_EQ(inserted, std::vector<std::size_t>{2});
}

TEST_F(ContextSaveTest, RollbackRestoresTheSavedGraph) {
    ManagedObject* a = account("A");
    ManagedObject* b = account("B");
    ManagedObject* t = context.insert(u"Transaction");
    t->setToOne(u"account", a);
    ManagedObject* set = context.insert(u"SplitSet");
    t->setToOne(u"splitSet", set);
    ASSERT_TRUE(context.save().succeeded());
    const auto saved = snapshot(context);

    t->setToOne(u"account", b);
    t->setToOne(u"splitSet", context.insert(u"SplitSet"));
    b->setValue(u"name", QStringLiteral("B2"));
    ManagedObject* extra = context.insert(u"Transaction");
    extra->setToOne(u"account", a);
    context.deleteObject(a);
    context.rollback();

    EXPECT_EQ(snapshot(context), saved);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_FALSE(context.undoManager().canUndo());
    EXPECT_EQ(set->toOne(u"transaction"), t);
}

} // namespace
} // namespace vantrel::objectstore
