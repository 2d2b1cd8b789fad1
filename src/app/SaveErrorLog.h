#pragma once

#include <QString>
#include <QVariantMap>

namespace vantrel::objectstore {
struct SaveResult;
}

namespace vantrel::app {

// How a save the store refused is written to the log. Every save path of the application reports
// through here, so a refused save reads the same wherever it happened.
class SaveErrorLog {
public:
    SaveErrorLog() = delete;

    // "Failed to save to data store: %@", then one "DetailedError: %@" per detailed error, or
    // "  %@" with the error's own details when it has none.
    static void output(const objectstore::SaveResult& result);

    // The failure's message: the validation error's, else the store's own.
    static QString message(const objectstore::SaveResult& result);
    // The failure's details as compact JSON ("{}" when there are none).
    static QString userInfoText(const objectstore::SaveResult& result);
    static QString describe(const QVariantMap& userInfo);
};

} // namespace vantrel::app
