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

private:
    struct Indexes;
    static const Indexes& ix();
};

} // namespace vantrel::model
