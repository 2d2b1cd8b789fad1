#pragma once

#include "model/EntityObject.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vantrel::model {

class CategoryLimit;

// A budget over a number of whole months, holding one limit per category.
class Budget : public EntityObject {
public:
    static constexpr auto kEntity = "Budget";

    explicit Budget(objectstore::ManagedObject* object);
    static Budget insertInContext(objectstore::Context& context);

    QString cloudID() const;
    QString name() const;
    void setName(const QString& name);
    std::optional<Day> startDate() const;
    void setStartDate(const std::optional<Day>& day);
    std::optional<std::int64_t> months() const;
    void setMonths(const std::optional<std::int64_t>& months);
    // Absent reads as false.
    bool showIdealPace() const;
    void setShowIdealPace(bool show);
    bool didShowEndNotice() const;
    void setDidShowEndNotice(bool shown);

    // In no particular order.
    std::vector<CategoryLimit> categoryLimits() const;
    // The budget's limit for that category, or none.
    std::optional<CategoryLimit> limitForCategory(const objectstore::ManagedObject* category) const;

    // The period: startDate + months months - 1 day; days counts both ends. A budget without a start
    // date is an InternalError here (every budget is made with one); missing months count as one.
    Day endDate() const;
    int days() const;
    // Whole days from `day` to the end date, plus 1.
    int daysLeft(const Day& day) const;
    bool hasEnded(const Day& day) const;
    bool hasStarted(const Day& day) const;
    // Days from the start to `today` over days from the start to the end; not clamped.
    double todayPercentage(const Day& today) const;
    // Sums of the limits at or below zero / above zero.
    Amount expenseLimitTotal() const;
    Amount incomeLimitTotal() const;

private:
    Day start() const;
    int periodMonths() const;

    struct Indexes;
    static const Indexes& ix();
};

} // namespace vantrel::model
