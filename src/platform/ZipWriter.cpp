#include "platform/ZipWriter.h"

#include "platform/ZipExtractor.h"

#include <QFile>

#include <minizip/zip.h>
#include <sys/stat.h>

namespace vantrel::platform {

namespace {

constexpr qint64 kChunkSize = 256 * 1024;
constexpr uLong kUtf8NamesFlag = 1U << 11;
// Host system 3 (Unix) in the high byte, so extractors read the mode in the external attributes;
// format version 2.0 (deflate) in the low byte.
constexpr uLong kVersionMadeByUnix = (3U << 8) | 20U;
constexpr uLong kRegularFileAttributes = static_cast<uLong>(S_IFREG | 0644) << 16;
// Sizes from here on need the 64-bit extension of the format.
constexpr qint64 kZip64Threshold = 0xffffffffLL;

zipFile handleOf(void* handle) {
    return static_cast<zipFile>(handle);
}

// The zip format dates entries in local time with a two-second resolution, 1980 to 2107.
tm_zip zipDate(const QDateTime& modified) {
    QDateTime local = modified.isValid() ? modified.toLocalTime() : QDateTime();
    const QDateTime earliest(QDate(1980, 1, 1), QTime(0, 0));
    const QDateTime latest(QDate(2107, 12, 31), QTime(23, 59, 58));
    if (!local.isValid() || local < earliest) {
        local = earliest;
    } else if (local > latest) {
        local = latest;
    }
    tm_zip date{};
    date.tm_sec = static_cast<uInt>(local.time().second());
    date.tm_min = static_cast<uInt>(local.time().minute());
    date.tm_hour = static_cast<uInt>(local.time().hour());
    date.tm_mday = static_cast<uInt>(local.date().day());
    date.tm_mon = static_cast<uInt>(local.date().month() - 1);
    date.tm_year = static_cast<uInt>(local.date().year());
    return date;
}

} // namespace

ZipWriter::ZipWriter(const QString& path)
    : m_path(path) {
    m_handle = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (m_handle == nullptr) {
        m_error = QStringLiteral("Cannot create the archive %1").arg(path);
    }
}

ZipWriter::~ZipWriter() {
    if (m_handle != nullptr) {
        zipClose(handleOf(m_handle), nullptr);
        m_handle = nullptr;
        QFile::remove(m_path);
    }
}

bool ZipWriter::isOpen() const {
    return m_handle != nullptr;
}

bool ZipWriter::addFile(const QString& entryName, const QString& sourcePath, const QDateTime& modified) {
    if (m_handle == nullptr) {
        if (m_error.isEmpty()) {
            m_error = QStringLiteral("The archive %1 is already closed").arg(m_path);
        }
        return false;
    }
    // One failure spoils the archive: close() then discards it.
    if (!m_error.isEmpty()) {
        return false;
    }
    // A name our own extractor would refuse makes a backup that cannot be restored.
    if (!ZipExtractor::isSafeEntryName(entryName) || entryName.endsWith(QLatin1Char('/'))) {
        m_error = QStringLiteral("Unsafe entry name \"%1\"").arg(entryName);
        return false;
    }
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Cannot read %1: %2").arg(sourcePath, source.errorString());
        return false;
    }

    zip_fileinfo info{};
    info.tmz_date = zipDate(modified);
    info.external_fa = kRegularFileAttributes;
    const int zip64 = source.size() >= kZip64Threshold ? 1 : 0;
    const QByteArray name = entryName.toUtf8();
    // The daily backup runs while the user waits for a save: deflate's fastest level takes a
    // fraction of the default's time on a database and leaves the archive only a little larger.
    if (zipOpenNewFileInZip4_64(handleOf(m_handle), name.constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                                Z_DEFLATED, Z_BEST_SPEED, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                nullptr, 0, kVersionMadeByUnix, kUtf8NamesFlag, zip64) != ZIP_OK) {
        m_error = QStringLiteral("Cannot add %1 to the archive %2").arg(entryName, m_path);
        return false;
    }

    QByteArray buffer(kChunkSize, Qt::Uninitialized);
    while (true) {
        const qint64 read = source.read(buffer.data(), kChunkSize);
        if (read < 0) {
            m_error = QStringLiteral("Cannot read %1: %2").arg(sourcePath, source.errorString());
            return false;
        }
        if (read == 0) {
            break;
        }
        if (zipWriteInFileInZip(handleOf(m_handle), buffer.constData(), static_cast<unsigned>(read)) !=
            ZIP_OK) {
            m_error = QStringLiteral("Cannot write %1 into the archive %2").arg(entryName, m_path);
            return false;
        }
    }
    if (zipCloseFileInZip(handleOf(m_handle)) != ZIP_OK) {
        m_error = QStringLiteral("Cannot finish %1 in the archive %2").arg(entryName, m_path);
        return false;
    }
    return true;
}

bool ZipWriter::close() {
    if (m_handle == nullptr) {
        if (m_error.isEmpty()) {
            m_error = QStringLiteral("The archive %1 is already closed").arg(m_path);
        }
        return false;
    }
    const bool closed = zipClose(handleOf(m_handle), nullptr) == ZIP_OK;
    m_handle = nullptr;
    if (closed && m_error.isEmpty()) {
        return true;
    }
    if (m_error.isEmpty()) {
        m_error = QStringLiteral("Cannot finish the archive %1").arg(m_path);
    }
    QFile::remove(m_path);
    return false;
}

} // namespace vantrel::platform
