#include "model/CategoryVT.h"

#include "model/ModelErrors.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/TextHelper.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "text/LikePattern.h"

#include <algorithm>

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

struct DefaultCategory {
    const char16_t* name;
    const char32_t* emoji; // nullptr: none
};

constexpr DefaultCategory kDefaultCategories[] = {
    {u"Food", U"\U0001F374"},  {u"Shopping", U"\U0001F455"}, {u"Transportation", U"\U0001F686"},
    {u"Gas", U"\u26FD\uFE0F"}, {u"Travel", U"\u2708\uFE0F"}, {u"Income", U"\U0001F60A"},
    {u"Transfer", nullptr},
};

std::vector<objectstore::ManagedObject*> transactionsBetween(objectstore::Context& context, const Day& from,
                                                             const Day& to) {
    return context.inDateRange(u"Transaction", u"date", from.toInstant(), to.toInstant());
}

// The earliest transaction day in [from, to]. Windows of doubling width are probed from `from`, so a
// dense database answers after a probe or two instead of listing a whole year of transactions.
std::optional<Day> firstTransactionDayBetween(objectstore::Context& context, const Day& from, const Day& to) {
    Day lower = from;
    for (int width = 1; lower.isOnOrBefore_vt(to); width *= 2) {
        const Day upper = std::min(lower.daysLater_VT(width - 1), to);
        const auto found = transactionsBetween(context, lower, upper);
        if (!found.empty()) {
            return Transaction(found.front()).date();
        }
        lower = upper.daysLater_VT(1);
    }
    return std::nullopt;
}

// Whether any transaction is dated before `day`, probing backwards in windows of doubling width for
// the same reason; what lies beyond the widest window is looked up in one open-ended fetch.
bool hasTransactionBefore(objectstore::Context& context, const Day& day) {
    constexpr int kWidestProbe = 1 << 20;
    Day upper = day.daysAgo_VT(1);
    for (int width = 1; width <= kWidestProbe; width *= 2) {
        const Day lower = upper.daysAgo_VT(width - 1);
        if (!transactionsBetween(context, lower, upper).empty()) {
            return true;
        }
        upper = lower.daysAgo_VT(1);
    }
    return !context.inDateRange(u"Transaction", u"date", QDateTime(), upper.toInstant()).empty();
}

bool isDatedBetween(const std::optional<Day>& date, const Day& from, const Day& to) {
    return date && date->isOnOrAfter_vt(from) && date->isOnOrBefore_vt(to);
}

std::optional<Day> dateOfSplit(const Split& split) {
    objectstore::ManagedObject* set = split.splitSet();
    objectstore::ManagedObject* transaction = set == nullptr ? nullptr : SplitSet(set).transaction();
    return transaction == nullptr ? std::nullopt : Transaction(transaction).date();
}

// A sum that stays nothing until something is added, so "no amounts" differs from "amounts summing
// to zero".
class OptionalSum {
public:
    void add(const Amount& amount) { m_sum = m_sum.value_or(Amount()) + amount; }
    const std::optional<Amount>& result() const { return m_sum; }

private:
    std::optional<Amount> m_sum;
};

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

bool CategoryVT::nameAlreadyTaken(objectstore::Context& context, const QString& name) {
    return !matchingName(context, name).empty();
}

int CategoryVT::compareNames(const QString& a, const QString& b) {
    return QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded());
}

QString CategoryVT::nextAvailableDefaultName(objectstore::Context& context) {
    const QString base = QStringLiteral("New Category");
    QString candidate = base;
    for (int number = 2; nameAlreadyTaken(context, candidate); ++number) {
        candidate = QStringLiteral("%1 %2").arg(base).arg(number);
    }
    return candidate;
}

void CategoryVT::loadDefaultCategories(objectstore::Context& context) {
    for (const DefaultCategory& entry : kDefaultCategories) {
        CategoryVT category = insertInContext(context);
        category.setName(QString::fromUtf16(entry.name));
        if (entry.emoji != nullptr) {
            category.setEmoji(QString::fromUcs4(entry.emoji));
        }
        category.setDefault(true);
    }
}

CategoryVT CategoryVT::insertInContext(objectstore::Context& context) {
    const QString name = nextAvailableDefaultName(context);
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
    if (matches.size() > 1) {
        throw platform::InternalError(QStringLiteral("More than one categories with same cloudID detected"));
    }
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
    const auto& direct = transactions();
    const auto unsplit =
        std::count_if(direct.begin(), direct.end(), [](objectstore::ManagedObject* transaction) {
            return Transaction(transaction).splitSet() == nullptr;
        });
    return static_cast<std::size_t>(unsplit) + splits().size();
}

std::optional<Amount> CategoryVT::amountFromDate(const Day& from, const Day& to) const {
    // The category's own links, not the date index: a budget or trend asks per category and month,
    // and a category's uses are a small part of a large database.
    OptionalSum sum;
    for (objectstore::ManagedObject* object : transactions()) {
        const Transaction transaction(object);
        if (isDatedBetween(transaction.date(), from, to)) {
            sum.add(transaction.amountInHomeCurrency());
        }
    }
    for (objectstore::ManagedObject* object : splits()) {
        const Split split(object);
        if (isDatedBetween(dateOfSplit(split), from, to)) {
            sum.add(split.amountInHomeCurrency());
        }
    }
    return sum.result();
}

std::optional<Amount> CategoryVT::uncategorizedAmountFromDate(objectstore::Context& context, const Day& from,
                                                              const Day& to) {
    OptionalSum sum;
    for (objectstore::ManagedObject* object : transactionsBetween(context, from, to)) {
        const Transaction transaction(object);
        if (objectstore::ManagedObject* set = transaction.splitSet()) {
            for (objectstore::ManagedObject* line : SplitSet(set).splits()) {
                const Split split(line);
                if (split.category() == nullptr) {
                    sum.add(split.amountInHomeCurrency());
                }
            }
        } else if (transaction.category() == nullptr) {
            sum.add(transaction.amountInHomeCurrency());
        }
    }
    return sum.result();
}

float CategoryVT::averageAmountPerDay(const std::optional<Day>& end, const platform::Clock& clock) const {
    const Day last = end.value_or(Day::today_VT(clock));
    // The window starts at the first transaction of the database, but reaches back at most 365
    // days before the end.
    const Day yearBefore = last.daysAgo_VT(365);
    const std::optional<Day> start = hasTransactionBefore(context(), yearBefore)
                                         ? std::optional<Day>(yearBefore)
                                         : firstTransactionDayBetween(context(), yearBefore, last);
    if (!start) {
        return 0.0F;
    }
    const std::optional<Amount> amount = amountFromDate(*start, last);
    if (!amount) {
        return 0.0F;
    }
    const int days = last.numberOfDaysAfter_VT(*start) + 1;
    return amount->toString().toFloat() / static_cast<float>(days);
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
