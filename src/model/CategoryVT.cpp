#include "model/CategoryVT.h"

#include "model/ModelErrors.h"
#include "model/TextHelper.h"
#include "platform/objectstore/Context.h"
#include "text/LikePattern.h"

namespace vantrel::model {

namespace {

struct Indexes {
    static int a(const char16_t* name) { return EntityObject::attributeIndex(u"Category", name); }
    static int r(const char16_t* name) { return EntityObject::relationshipIndex(u"Category", name); }

    int cloudID = a(u"cloudID");
    int name = a(u"name");
    int emoji = a(u"emoji");
    int isDefault = a(u"isDefault");
    int group = r(u"group");
    int transactions = r(u"transactions");
    int splits = r(u"splits");
    int categoryLimits = r(u"categoryLimits");
};

const Indexes& ix() {
    static const Indexes indexes;
    return indexes;
}

QString nameOf(const objectstore::ManagedObject& object) {
    const objectstore::Value value = object.value(ix().name);
    const auto* name = std::get_if<QString>(&value);
    return name != nullptr ? *name : QString();
}

} // namespace

CategoryVT::CategoryVT(objectstore::ManagedObject* object)
    : EntityObject(object) {}

std::vector<objectstore::ManagedObject*> CategoryVT::matchingName(objectstore::Context& context,
                                                                  const QString& name) {
    const text::LikePattern pattern(name);
    return context.fetch(u"Category", [&pattern](const objectstore::ManagedObject& category) {
        const QString candidate = nameOf(category);
        return !candidate.isNull() && pattern.matches(candidate);
    });
}

QString CategoryVT::nextDefaultName(objectstore::Context& context) {
    const QString base = QStringLiteral("New Category");
    QString candidate = base;
    for (int number = 2; !matchingName(context, candidate).empty(); ++number) {
        candidate = QStringLiteral("%1 %2").arg(base).arg(number);
    }
    return candidate;
}

CategoryVT CategoryVT::insertInContext(objectstore::Context& context) {
    const QString name = nextDefaultName(context);
    CategoryVT category(insertWithCloudID(context, u"Category"));
    category.setName(name);
    category.setDefault(false);
    const int limitAmount = EntityObject::attributeIndex(u"CategoryLimit", u"amount");
    for (objectstore::ManagedObject* budget : context.all(u"Budget")) {
        objectstore::ManagedObject* limit = insertWithCloudID(context, u"CategoryLimit");
        limit->setValue(limitAmount, objectstore::Value(Amount()));
        limit->setToOne(u"budget", budget);
        limit->setToOne(u"category", category.object());
    }
    return category;
}

std::optional<CategoryVT> CategoryVT::withCloudID(objectstore::Context& context, const QString& cloudID) {
    const auto matches = context.lookup(u"Category", u"cloudID", objectstore::Value(cloudID));
    if (matches.empty()) {
        return std::nullopt;
    }
    return CategoryVT(matches.front());
}

std::optional<CategoryVT> CategoryVT::findByName(objectstore::Context& context, const QString& name) {
    const auto matches = matchingName(context, name);
    if (matches.empty()) {
        return std::nullopt;
    }
    return CategoryVT(matches.front());
}

QString CategoryVT::cloudID() const {
    return string(ix().cloudID);
}

QString CategoryVT::name() const {
    return string(ix().name);
}

void CategoryVT::setName(const QString& name) {
    setString(ix().name, name);
}

QString CategoryVT::emoji() const {
    return string(ix().emoji);
}

void CategoryVT::setEmoji(const QString& emoji) {
    setString(ix().emoji, emoji);
}

bool CategoryVT::isDefault() const {
    return boolean(ix().isDefault).value_or(false);
}

void CategoryVT::setDefault(bool isDefault) {
    setBoolean(ix().isDefault, isDefault);
}

objectstore::ManagedObject* CategoryVT::group() const {
    return toOne(ix().group);
}

void CategoryVT::setGroup(objectstore::ManagedObject* group) {
    setToOne(ix().group, group);
}

const std::vector<objectstore::ManagedObject*>& CategoryVT::transactions() const {
    return toMany(ix().transactions);
}

const std::vector<objectstore::ManagedObject*>& CategoryVT::splits() const {
    return toMany(ix().splits);
}

const std::vector<objectstore::ManagedObject*>& CategoryVT::categoryLimits() const {
    return toMany(ix().categoryLimits);
}

std::size_t CategoryVT::numberOfUses() const {
    return transactions().size() + splits().size();
}

std::optional<objectstore::ValidationError> CategoryVT::validate(objectstore::ManagedObject& object,
                                                                 objectstore::ValidationPhase phase) {
    if (phase == objectstore::ValidationPhase::Delete) {
        return std::nullopt;
    }
    const CategoryVT category(&object);
    const QString name = category.name();
    if (name.isNull()) {
        return std::nullopt;
    }
    if (TextHelper::isBlank_vt(name)) {
        return ModelErrors::blankCategoryName();
    }
    // Counting itself: a second match means another category has the name.
    if (matchingName(category.context(), name).size() >= 2) {
        return ModelErrors::duplicateCategoryName(name);
    }
    return std::nullopt;
}

} // namespace vantrel::model
