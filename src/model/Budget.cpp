#include "model/Budget.h"

#include "model/CategoryLimit.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

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
    int limitsOfCategory = EntityObject::relationshipIndex(u"Category", u"categoryLimits");
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

std::optional<CategoryLimit> Budget::limitForCategory(const objectstore::ManagedObject* category) const {
    if (category == nullptr) {
        return std::nullopt;
    }
    // A category holds one limit per budget, far fewer than a budget's one per category. Should
    // there be two, the one the repair would keep (smallest cloudID) answers.
    std::optional<CategoryLimit> found;
    for (objectstore::ManagedObject* object : category->toMany(ix().limitsOfCategory)) {
        const CategoryLimit limit(object);
        const std::optional<Budget> owner = limit.budget();
        if (owner && *owner == *this && (!found || limit.cloudID() < found->cloudID())) {
            found = limit;
        }
    }
    return found;
}

Day Budget::start() const {
    const std::optional<Day> day = startDate();
    if (!day) {
        throw platform::InternalError(QStringLiteral("Budget \"%1\" has no start date").arg(name()));
    }
    return *day;
}

int Budget::periodMonths() const {
    // Every budget is made with at least one month; anything less reads as the shortest period.
    return static_cast<int>(std::max<std::int64_t>(months().value_or(1), 1));
}

Day Budget::endDate() const {
    return start().advanceMonths_VT(periodMonths()).daysAgo_VT(1);
}

int Budget::days() const {
    return endDate().numberOfDaysAfter_VT(start()) + 1;
}

int Budget::daysLeft(const Day& day) const {
    return endDate().numberOfDaysAfter_VT(day) + 1;
}

bool Budget::hasEnded(const Day& day) const {
    return day.isLaterThan_VT(endDate());
}

bool Budget::hasStarted(const Day& day) const {
    return day.isOnOrAfter_vt(start());
}

double Budget::todayPercentage(const Day& today) const {
    const Day first = start();
    return static_cast<double>(today.numberOfDaysAfter_VT(first)) /
           static_cast<double>(endDate().numberOfDaysAfter_VT(first));
}

Amount Budget::expenseLimitTotal() const {
    Amount total;
    for (const CategoryLimit& limit : categoryLimits()) {
        if (limit.isExpense()) {
            total += limit.amount().value_or(Amount());
        }
    }
    return total;
}

Amount Budget::incomeLimitTotal() const {
    Amount total;
    for (const CategoryLimit& limit : categoryLimits()) {
        if (!limit.isExpense()) {
            total += *limit.amount();
        }
    }
    return total;
}

} // namespace vantrel::model
