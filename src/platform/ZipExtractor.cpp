#include "platform/ZipExtractor.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <memory>
#include <minizip/unzip.h>
#include <optional>
#include <sys/stat.h>

namespace vantrel::platform {

namespace {

using Failure = ZipExtractor::Failure;
using Result = ZipExtractor::Result;

constexpr qint64 kChunkSize = 256 * 1024;
constexpr uLong kUnixHost = 3;
constexpr uLong kEncryptedFlag = 1;

struct UnzipCloser {
    void operator()(void* handle) const { unzClose(static_cast<unzFile>(handle)); }
};
using UnzipHandle = std::unique_ptr<void, UnzipCloser>;

Result failed(Failure failure, const QString& detail) {
    Result result;
    result.failure = failure;
    result.detail = detail;
    return result;
}

// A name whose bytes are not UTF-8 or hold a NUL cannot be matched against the safety rules.
std::optional<QString> decodeName(const QByteArray& bytes) {
    if (bytes.contains('\0')) {
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString name = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return name;
}

struct Entry {
    QString name;
    unz_file_info64 info{};
    bool isFolder = false;
};

// Local time, as the writer stored it; nothing for the zero date some writers leave.
QDateTime entryDate(const tm_unz& date) {
    const QDate day(static_cast<int>(date.tm_year), static_cast<int>(date.tm_mon) + 1,
                    static_cast<int>(date.tm_mday));
    const QTime time(static_cast<int>(date.tm_hour), static_cast<int>(date.tm_min),
                     static_cast<int>(date.tm_sec));
    if (!day.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(day, time);
}

// One archive being unpacked into one folder.
class Extraction {
public:
    Extraction(unzFile zip, const QString& folder, const ZipExtractor::Limits& limits)
        : m_zip(zip)
        , m_folder(QDir::cleanPath(QDir(folder).absolutePath()))
        , m_limits(limits)
        , m_buffer(kChunkSize, Qt::Uninitialized) {}

    Result run() {
        unz_global_info64 global{};
        if (unzGetGlobalInfo64(m_zip, &global) != UNZ_OK) {
            return failed(Failure::CannotOpen, QStringLiteral("The archive has no readable directory"));
        }
        // The declared count is only a first cheap refusal; the entries are counted as they come.
        if (global.number_entry > static_cast<ZPOS64_T>(std::max(m_limits.maxEntries, 0))) {
            return tooManyEntries();
        }
        if (!QDir().mkpath(m_folder)) {
            return failed(Failure::CannotWrite, QStringLiteral("Cannot create the folder %1").arg(m_folder));
        }
        m_canonicalFolder = QFileInfo(m_folder).canonicalFilePath();

        int status = unzGoToFirstFile(m_zip);
        int entries = 0;
        while (status == UNZ_OK) {
            if (++entries > m_limits.maxEntries) {
                return tooManyEntries();
            }
            if (!extractCurrent()) {
                return std::move(m_result);
            }
            status = unzGoToNextFile(m_zip);
        }
        if (status != UNZ_END_OF_LIST_OF_FILE) {
            return failed(Failure::CorruptEntry, QStringLiteral("The archive's directory is damaged"));
        }
        return std::move(m_result);
    }

private:
    Result tooManyEntries() const {
        return failed(Failure::TooLarge,
                      QStringLiteral("The archive holds more than %1 entries").arg(m_limits.maxEntries));
    }

    bool fail(Failure failure, const QString& detail) {
        m_result.failure = failure;
        m_result.detail = detail;
        return false;
    }

    bool extractCurrent() {
        Entry entry;
        if (!readEntry(entry)) {
            return false;
        }
        const QString target = QDir::cleanPath(m_folder + QLatin1Char('/') + entry.name);
        // The name rules should already guarantee this; a second, independent check costs nothing.
        const bool inside =
            target.startsWith(m_folder + QLatin1Char('/')) || (entry.isFolder && target == m_folder);
        if (!inside) {
            return fail(Failure::UnsafeEntry, entry.name);
        }
        return entry.isFolder ? makeFolder(entry, target) : writeFile(entry, target);
    }

    bool readEntry(Entry& entry) {
        if (unzGetCurrentFileInfo64(m_zip, &entry.info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
            return fail(Failure::CorruptEntry, QStringLiteral("An entry header is damaged"));
        }
        QByteArray rawName(static_cast<qsizetype>(entry.info.size_filename), '\0');
        if (!rawName.isEmpty() &&
            unzGetCurrentFileInfo64(m_zip, nullptr, rawName.data(), static_cast<uLong>(rawName.size()),
                                    nullptr, 0, nullptr, 0) != UNZ_OK) {
            return fail(Failure::CorruptEntry, QStringLiteral("An entry header is damaged"));
        }
        const auto name = decodeName(rawName);
        if (!name) {
            return fail(Failure::UnsafeEntry, QString::fromLatin1(rawName.toPercentEncoding()));
        }
        if (!ZipExtractor::isSafeEntryName(*name)) {
            return fail(Failure::UnsafeEntry,
                        name->isEmpty() ? QStringLiteral("An entry without a name") : *name);
        }
        entry.name = *name;

        bool unixFolder = false;
        if ((entry.info.version >> 8) == kUnixHost) {
            const auto type = static_cast<mode_t>(entry.info.external_fa >> 16) & S_IFMT;
            // Some writers leave the mode empty; only a stated kind other than file or folder is refused.
            if (type != 0 && type != S_IFREG && type != S_IFDIR) {
                return fail(Failure::UnsafeEntry, entry.name);
            }
            unixFolder = type == S_IFDIR;
        }
        entry.isFolder = entry.name.endsWith(QLatin1Char('/')) || unixFolder;
        if (!entry.isFolder && (entry.info.flag & kEncryptedFlag) != 0) {
            return fail(Failure::CorruptEntry, QStringLiteral("%1 is encrypted").arg(entry.name));
        }
        return true;
    }

    bool makeFolder(const Entry& entry, const QString& target) {
        if (!QDir().mkpath(target)) {
            return fail(Failure::CannotWrite,
                        QStringLiteral("Cannot create the folder for %1").arg(entry.name));
        }
        return true;
    }

    // A folder that already existed could be a link leading elsewhere.
    bool parentStaysInside(const QString& target) const {
        const QString parent = QFileInfo(QFileInfo(target).absolutePath()).canonicalFilePath();
        return parent == m_canonicalFolder || parent.startsWith(m_canonicalFolder + QLatin1Char('/'));
    }

    bool writeFile(const Entry& entry, const QString& target) {
        if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
            return fail(Failure::CannotWrite,
                        QStringLiteral("Cannot create the folder for %1").arg(entry.name));
        }
        if (!parentStaysInside(target)) {
            return fail(Failure::UnsafeEntry, entry.name);
        }
        QFile file(target);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const bool exists = QFileInfo::exists(target) || QFileInfo(target).isSymLink();
            return fail(exists ? Failure::TargetExists : Failure::CannotWrite,
                        exists ? entry.name : QStringLiteral("%1: %2").arg(entry.name, file.errorString()));
        }
        if (!inflateInto(entry, file)) {
            file.close();
            file.remove();
            return false;
        }
        // Flushed first: a later write would move the time again.
        if (!file.flush()) {
            file.remove();
            return fail(Failure::CannotWrite, QStringLiteral("%1: %2").arg(entry.name, file.errorString()));
        }
        const QDateTime modified = entryDate(entry.info.tmu_date);
        if (modified.isValid()) {
            file.setFileTime(modified, QFileDevice::FileModificationTime);
        }
        file.close();
        m_result.extractedFiles << entry.name;
        return true;
    }

    bool inflateInto(const Entry& entry, QFile& file) {
        if (unzOpenCurrentFile(m_zip) != UNZ_OK) {
            return fail(Failure::CorruptEntry, entry.name);
        }
        std::int64_t written = 0;
        while (true) {
            // Never ask for more than one byte past the cap, so a bomb stops there.
            const std::int64_t allowed = m_limits.maxTotalBytes - m_totalBytes;
            const auto request = static_cast<unsigned>(
                std::min<std::int64_t>(kChunkSize, std::max<std::int64_t>(allowed, 0) + 1));
            const int read = unzReadCurrentFile(m_zip, m_buffer.data(), request);
            if (read < 0) {
                unzCloseCurrentFile(m_zip);
                return fail(Failure::CorruptEntry, entry.name);
            }
            if (read == 0) {
                break;
            }
            if (read > allowed) {
                unzCloseCurrentFile(m_zip);
                return fail(Failure::TooLarge, QStringLiteral("%1: more than %2 bytes in all")
                                                   .arg(entry.name)
                                                   .arg(m_limits.maxTotalBytes));
            }
            if (file.write(m_buffer.constData(), read) != read) {
                unzCloseCurrentFile(m_zip);
                return fail(Failure::CannotWrite,
                            QStringLiteral("%1: %2").arg(entry.name, file.errorString()));
            }
            m_totalBytes += read;
            written += read;
        }
        // The checksum is only compared when the whole declared size was read, so a size that lies
        // short would go unchecked: compare it too.
        if (unzCloseCurrentFile(m_zip) != UNZ_OK ||
            static_cast<ZPOS64_T>(written) != entry.info.uncompressed_size) {
            return fail(Failure::CorruptEntry, entry.name);
        }
        return true;
    }

    unzFile m_zip;
    QString m_folder;
    QString m_canonicalFolder;
    ZipExtractor::Limits m_limits;
    QByteArray m_buffer;
    std::int64_t m_totalBytes = 0;
    Result m_result;
};

} // namespace

ZipExtractor::Result ZipExtractor::extractAll(const QString& zipPath, const QString& folder,
                                              const Limits& limits) {
    UnzipHandle zip(unzOpen64(QFile::encodeName(zipPath).constData()));
    if (!zip) {
        return failed(Failure::CannotOpen, QStringLiteral("%1 is not a readable zip archive").arg(zipPath));
    }
    return Extraction(static_cast<unzFile>(zip.get()), folder, limits).run();
}

bool ZipExtractor::isSafeEntryName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        return false;
    }
    // "C:" means a drive on the systems that made such archives.
    const auto isAsciiLetter = [](QChar c) {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
    };
    if (name.size() >= 2 && name.at(1) == QLatin1Char(':') && isAsciiLetter(name.at(0))) {
        return false;
    }
    const auto components = QStringView(name).split(QLatin1Char('/'));
    return std::none_of(components.begin(), components.end(),
                        [](QStringView component) { return component == QLatin1String(".."); });
}

} // namespace vantrel::platform
