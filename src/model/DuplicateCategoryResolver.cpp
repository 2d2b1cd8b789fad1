#include "model/DuplicateCategoryResolver.h"

#include "platform/Log.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::model {

void DuplicateCategoryResolver::resolve(const CategoryVT& category) {
    objectstore::Context& context = category.context();
    const QString name = category.name();
    std::vector<CategoryVT> matches;
    for (objectstore::ManagedObject* match : CategoryVT::matchingName(context, name)) {
        matches.emplace_back(match);
    }
    if (matches.size() < 2) {
        return;
    }
    platform::Log::write(QStringLiteral("Detected duplicate category: %1").arg(name));
    // Most used first, so renaming touches the fewest transactions; the cloudID makes the choice
    // the same on every device.
    std::sort(matches.begin(), matches.end(), [](const CategoryVT& a, const CategoryVT& b) {
        const std::size_t usesA = a.numberOfUses();
        const std::size_t usesB = b.numberOfUses();
        if (usesA != usesB) {
            return usesA > usesB;
        }
        return a.cloudID() < b.cloudID();
    });
    int counter = 2;
    for (auto it = matches.begin() + 1; it != matches.end(); ++it) {
        if (it->numberOfUses() != 0) {
            platform::Log::write(QStringLiteral("Renamed category"));
            it->setName(QStringLiteral("%1 %2").arg(it->name(), QString::number(counter)));
            ++counter;
            continue;
        }
        platform::Log::write(QStringLiteral("Delete category"));
        if (!it->categoryLimits().empty()) {
            platform::Log::write(QStringLiteral("Has category limit"));
        }
        context.deleteObject(it->object());
    }
}

} // namespace vantrel::model
