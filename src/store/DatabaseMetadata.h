#pragma once

#include <QString>

#include <optional>

namespace vantrel::store {

// The metadata file beside the database: which data-compatibility version the database folder
// holds. A property list with the one key kVersionKey.
class DatabaseMetadata {
public:
    static constexpr int kCurrentDataCompatibilityVersion = 4;
    static constexpr auto kVersionKey = "VTMetadataDataCompatibilityVersionKey";
    static constexpr auto kFileName = "DatabaseMetadata.plist";

    // The metadata file of the database folder.
    static QString defaultPath(const QString& databaseFolder);
    // Reads the file at defaultPath, first creating the folder when it is missing. A missing file
    // gives no version. A file that cannot be read as a property-list dictionary, or whose version
    // is not an integer, also gives no version and is logged: it is rewritten on opening rather
    // than blocking every start.
    static DatabaseMetadata defaultMetadata(const QString& databaseFolder);

    std::optional<int> dataCompatibilityVersion;

    // Writes the one-key dictionary atomically to defaultPath; InternalError "failed to persist
    // metadata file" when it cannot.
    void persist(const QString& databaseFolder) const;
};

} // namespace vantrel::store
