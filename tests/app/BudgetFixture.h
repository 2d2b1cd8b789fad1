#pragma once

#include "app/AppWorkspaceFixture.h"
#include "model/Budget.h"
#include "model/CategoryGroup.h"
#include "model/CategoryLimit.h"

#include <map>
#include <utility>

namespace vantrel::testsupport {

// A household over February and March 2024 (the clock stands on 1 March): "Rent" and "Groceries"
// in the group "Living", "Dining", "Electronics" (a return outweighs the spending), "Salary", and
// "Gifts" with nothing booked. One checking account opening at 500. January's groceries lie before
// any budget of the tests.
class BudgetFixture : public AppWorkspaceFixture {
protected:
    BudgetFixture() {
        living = model::CategoryGroup::insertInContext(context).object();
        model::CategoryGroup(living).setName(QStringLiteral("Living"));
        rent = categoryIn("Rent", living);
        groceries = categoryIn("Groceries", living);
        dining = newCategory(QStringLiteral("Dining"));
        electronics = newCategory(QStringLiteral("Electronics"));
        salary = newCategory(QStringLiteral("Salary"));
        gifts = newCategory(QStringLiteral("Gifts"));

        book(day(2024, 1, 31), "-999", "Market", groceries);
        book(day(2024, 2, 1), "-1000", "Landlord", rent);
        book(day(2024, 2, 10), "-150", "Market", groceries);
        book(day(2024, 3, 1), "-80", "Corner Shop", groceries);
        book(day(2024, 2, 14), "-130", "Bistro", dining);
        book(day(2024, 2, 3), "-60", "Gadget Store", electronics);
        book(day(2024, 2, 9), "100", "Gadget Store Return", electronics);
        book(day(2024, 2, 25), "3000", "Employer", salary);
        workspace.saveDatabase();
    }

    objectstore::ManagedObject* categoryIn(const char* name, objectstore::ManagedObject* group) {
        objectstore::ManagedObject* category = newCategory(QString::fromLatin1(name));
        model::CategoryVT(category).setGroup(group);
        return category;
    }

    model::Transaction book(const model::Day& date, const char* value, const char* title,
                            objectstore::ManagedObject* category) {
        return checking.createTransactionWithDate(date, QString::fromLatin1(title), amount(value), category,
                                                  QString(), std::nullopt, clock);
    }

    // A budget with one limit per category: the listed amounts, zero for the others.
    model::Budget makeBudget(const model::Day& start, int months,
                             const std::map<objectstore::ManagedObject*, const char*>& limits) {
        model::Budget budget = model::Budget::insertInContext(context);
        budget.setName(QStringLiteral("Household"));
        budget.setStartDate(start);
        budget.setMonths(months);
        for (objectstore::ManagedObject* category : context.all(u"Category")) {
            model::CategoryLimit limit = model::CategoryLimit::insertInContext(context);
            const auto listed = limits.find(category);
            limit.setAmount(amount(listed != limits.end() ? listed->second : "0"));
            limit.setBudget(budget);
            limit.setCategory(category);
        }
        workspace.saveDatabase();
        return budget;
    }

    // February and March with the usual limits.
    model::Budget householdBudget() {
        return makeBudget(
            day(2024, 2, 1), 2,
            {{rent, "-1000"}, {groceries, "-400"}, {dining, "-100"}, {electronics, "-50"}, {salary, "3000"}});
    }

    model::CategoryLimit limitOf(const model::Budget& budget, objectstore::ManagedObject* category) const {
        return *budget.limitForCategory(category);
    }

    void setToday(const model::Day& today) { clock.setNow(today.toInstant().addSecs(12 * 3600)); }

    model::Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "500");
    objectstore::ManagedObject* living = nullptr;
    objectstore::ManagedObject* rent = nullptr;
    objectstore::ManagedObject* groceries = nullptr;
    objectstore::ManagedObject* dining = nullptr;
    objectstore::ManagedObject* electronics = nullptr;
    objectstore::ManagedObject* salary = nullptr;
    objectstore::ManagedObject* gifts = nullptr;
};

} // namespace vantrel::testsupport
