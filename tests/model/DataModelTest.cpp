#include "model/DataModel.h"

#include <QStringList>

#include <gtest/gtest.h>

using vantrel::model::DataModel;
using vantrel::objectstore::Cardinality;
using vantrel::objectstore::DeleteRule;
using vantrel::objectstore::Optionality;

namespace {

struct Link {
    const char* from;
    const char* name;
    Cardinality cardinality;
    const char* to;
    const char* inverse;
};

} // namespace

TEST(DataModel, HasTheThirteenEntitiesInModelOrder) {
    QStringList names;
    for (const auto& entity : DataModel::description().entities()) {
        names << entity.name();
    }
    EXPECT_EQ(names, QStringList({"Account", "Transaction", "SplitSet", "Split", "Category", "CategoryGroup",
                                  "Budget", "CategoryLimit", "Currency", "Global", "ScheduledItem",
                                  "TransferSetting", "PayeeRenameRule"}));
}

TEST(DataModel, LinksEntitiesAsTheObjectModelNavigatesThem) {
    const auto& model = DataModel::description();
    const Link links[] = {
        {"Account", "transactions", Cardinality::ToMany, "Transaction", "account"},
        {"Account", "scheduledItems", Cardinality::ToMany, "ScheduledItem", "account"},
        {"Account", "toScheduledItems", Cardinality::ToMany, "ScheduledItem", "toAccount"},
        {"Account", "transferSettings", Cardinality::ToMany, "TransferSetting", "account"},
        {"Account", "lastTransferSetting", Cardinality::ToOne, "TransferSetting", nullptr},
        {"TransferSetting", "toAccount", Cardinality::ToOne, "Account", nullptr},
        {"TransferSetting", "category", Cardinality::ToOne, "Category", nullptr},
        {"Transaction", "category", Cardinality::ToOne, "Category", "transactions"},
        {"Transaction", "splitSet", Cardinality::ToOne, "SplitSet", "transaction"},
        {"Transaction", "scheduledItem", Cardinality::ToOne, "ScheduledItem", nullptr},
        {"SplitSet", "splits", Cardinality::ToMany, "Split", "splitSet"},
        {"Split", "category", Cardinality::ToOne, "Category", "splits"},
        {"Category", "group", Cardinality::ToOne, "CategoryGroup", "categories"},
        {"Category", "categoryLimits", Cardinality::ToMany, "CategoryLimit", "category"},
        {"Budget", "categoryLimits", Cardinality::ToMany, "CategoryLimit", "budget"},
        {"ScheduledItem", "category", Cardinality::ToOne, "Category", nullptr},
    };
    for (const auto& link : links) {
        SCOPED_TRACE(std::string(link.from) + "." + link.name);
        const auto& relationship =
            model.entity(QString::fromLatin1(link.from)).relationship(QString::fromLatin1(link.name));
        EXPECT_EQ(relationship.cardinality, link.cardinality);
        EXPECT_EQ(relationship.destination, QString::fromLatin1(link.to));
        if (link.inverse != nullptr) {
            EXPECT_EQ(relationship.inverse, QString::fromLatin1(link.inverse));
        } else {
            // Not navigated, but declared so deletion cannot leave a dangling link.
            EXPECT_FALSE(relationship.inverse.isEmpty());
        }
    }
}

TEST(DataModel, OwnedObjectsNeverOutliveTheirOwners) {
    const auto& model = DataModel::description();
    const auto rule = [&model](const char* entity, const char* relationship) {
        return model.entity(QString::fromLatin1(entity))
            .relationship(QString::fromLatin1(relationship))
            .deleteRule;
    };
    EXPECT_EQ(rule("Account", "transactions"), DeleteRule::Cascade);
    EXPECT_EQ(rule("Account", "scheduledItems"), DeleteRule::Cascade);
    EXPECT_EQ(rule("Account", "toScheduledItems"), DeleteRule::Cascade);
    EXPECT_EQ(rule("Transaction", "splitSet"), DeleteRule::Cascade);
    EXPECT_EQ(rule("SplitSet", "splits"), DeleteRule::Cascade);
    EXPECT_EQ(rule("Category", "categoryLimits"), DeleteRule::Cascade);
    EXPECT_EQ(rule("Budget", "categoryLimits"), DeleteRule::Cascade);
    EXPECT_EQ(rule("CategoryGroup", "categories"), DeleteRule::Nullify);
    EXPECT_EQ(rule("Category", "transactions"), DeleteRule::Nullify);

    const auto optionality = [&model](const char* entity, const char* relationship) {
        return model.entity(QString::fromLatin1(entity))
            .relationship(QString::fromLatin1(relationship))
            .optionality;
    };
    EXPECT_EQ(optionality("Split", "splitSet"), Optionality::Mandatory);
    EXPECT_EQ(optionality("SplitSet", "transaction"), Optionality::Mandatory);
    EXPECT_EQ(optionality("Transaction", "account"), Optionality::Mandatory);
    EXPECT_EQ(optionality("CategoryLimit", "budget"), Optionality::Mandatory);
    EXPECT_EQ(optionality("Category", "group"), Optionality::Optional);
    EXPECT_EQ(optionality("Transaction", "category"), Optionality::Optional);
}

TEST(DataModel, IndexesTheAttributesLookupsUse) {
    const auto& model = DataModel::description();
    EXPECT_TRUE(model.entity(u"Transaction").attribute(u"cloudID").indexed);
    EXPECT_TRUE(model.entity(u"Transaction").attribute(u"ofxFitID").indexed);
    EXPECT_TRUE(model.entity(u"Transaction").attribute(u"date").indexed);
    EXPECT_TRUE(model.entity(u"Currency").attribute(u"code").indexed);
    // Currency and Global answer their cloudID instead of storing one.
    EXPECT_FALSE(model.entity(u"Currency").attributeIndex(u"cloudID").has_value());
    EXPECT_FALSE(model.entity(u"Global").attributeIndex(u"cloudID").has_value());
}
