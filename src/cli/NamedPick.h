#pragma once

#include "cli/UserError.h"

#include <QString>

#include <vector>

namespace vantrel::cli {

// The one candidate whose cloudID is `key`, else the one `nameOf` calls `key` (letter case ignored);
// `what` words the errors: "No such %1: %2", and an ambiguous name asks for the cloudID.
template <typename Entity, typename NameOf>
Entity pickByCloudIDOrName(const std::vector<Entity>& candidates, const QString& key, const QString& what,
                           NameOf nameOf) {
    std::vector<Entity> named;
    for (const Entity& candidate : candidates) {
        if (candidate.cloudID() == key) {
            return candidate;
        }
        if (nameOf(candidate).compare(key, Qt::CaseInsensitive) == 0) {
            named.push_back(candidate);
        }
    }
    if (named.empty()) {
        throw UserError(QStringLiteral("No such %1: %2").arg(what, key));
    }
    if (named.size() > 1) {
        throw UserError(QStringLiteral("More than one %1 is named %2; use its cloudID").arg(what, key));
    }
    return named.front();
}

} // namespace vantrel::cli
