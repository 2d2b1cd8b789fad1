#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace vantrel::platform {

// Unpacks a zip archive into a folder without ever writing outside it: entries with an absolute
// path, a drive prefix, a ".." component, a backslash or an empty name are refused, as are links
// and anything that is neither a file nor a folder; the bytes actually inflated are capped (a small
// archive can expand without bound). Existing files are never overwritten. On any failure the
// extraction stops and says why; files written before it stay in the folder, which the caller owns.
class ZipExtractor {
public:
    struct Limits {
        std::int64_t maxTotalBytes = std::int64_t{16} * 1024 * 1024 * 1024;
        int maxEntries = 10'000;
    };

    enum class Failure {
        None,
        CannotOpen,   // not a zip archive, or unreadable
        UnsafeEntry,  // a name or kind refused above
        TooLarge,     // more bytes or entries than the limits allow
        CorruptEntry, // an entry fails to inflate or its checksum is wrong
        CannotWrite,  // the folder or a file in it cannot be written
        TargetExists, // an entry would overwrite an existing file
    };

    struct Result {
        Failure failure = Failure::None;
        // The offending entry's name or the system's message; empty on success.
        QString detail;
        // Entry names of the files written, in archive order.
        QStringList extractedFiles;
        bool succeeded() const { return failure == Failure::None; }
    };

    // `folder` is created when missing.
    static Result extractAll(const QString& zipPath, const QString& folder, const Limits& limits);
    static Result extractAll(const QString& zipPath, const QString& folder) {
        return extractAll(zipPath, folder, Limits{});
    }

    // The name rules above, without the archive.
    static bool isSafeEntryName(const QString& name);
};

} // namespace vantrel::platform
