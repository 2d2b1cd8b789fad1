#include "model/Budget.h"

#include "model/CategoryLimit.h"
#include "platform/objectstore/Context.h"

namespace vantrel::model {

struct Budget::Indexes {
    static int a(const char16_t* name) { return EntityObject::attributeIndex(u"Budget", name); }

    int cloudID = a(u"cloudID");
    int name = a(u"name");
    int startDate = a(u"startDate");
    int months = a(u"months");
    int showIdealPace = a(u"showIdealPace");
    int didShowEndNotice = a(u"didShowEndNotice");
    int categoryLimits = EntityObject::relationshipIndex(u"Budget", u"categoryLimits");
};

const Budget::Indexes& Budget::ix() {
    static const Indexes indexes;
    return indexes;
}

Budget::Budget(objectstore::ManagedObject* object)
    : EntityObject(object) {}

Budget Budget::insertInContext(objectstore::Context& context) {
    return Budget(insertWithCloudID(context, u"Budget"));
}

QString Budget::cloudID() const {
    return string(ix().cloudID);
}

QString Budget::name() const {
    return string(ix().name);
}

void Budget::setName(const QString& name) {
    setString(ix().name, name);
}

std::optional<Day> Budget::startDate() const {
    return day(ix().startDate);
}

void Budget::setStartDate(const std::optional<Day>& day) {
    setDay(ix().startDate, day);
}

std::optional<std::int64_t> Budget::months() const {
    return integer(ix().months);
}

void Budget::setMonths(const std::optional<std::int64_t>& months) {
    setInteger(ix().months, months);
}

bool Budget::showIdealPace() const {
    return boolean(ix().showIdealPace).value_or(false);
}

void Budget::setShowIdealPace(bool show) {
    setBoolean(ix().showIdealPace, show);
}

bool Budget::didShowEndNotice() const {
    return boolean(ix().didShowEndNotice).value_or(false);
}

void Budget::setDidShowEndNotice(bool shown) {
    setBoolean(ix().didShowEndNotice, shown);
}

std::vector<CategoryLimit> Budget::categoryLimits() const {
    std::vector<CategoryLimit> limits;
    for (objectstore::ManagedObject* limit : toMany(ix().categoryLimits)) {
        limits.emplace_back(limit);
    }
    return limits;
}

} // namespace vantrel::model
