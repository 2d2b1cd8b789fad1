#pragma once

#include <QDateTime>
#include <QString>

namespace vantrel::platform {

// Writes a zip archive: deflate at the default level, no password, UTF-8 entry names. The archive
// is complete only after close() answered true; a writer destroyed without close() removes the
// partial file, so a failed backup never leaves something that looks like an archive.
class ZipWriter {
public:
    explicit ZipWriter(const QString& path);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    bool isOpen() const;
    // Adds the bytes of `sourcePath` under `entryName` (a relative path with forward slashes),
    // dated `modified` in local time. False (and the archive is not finished) on any read or write
    // failure.
    bool addFile(const QString& entryName, const QString& sourcePath, const QDateTime& modified);
    // Writes the central directory and closes the file.
    bool close();
    QString errorString() const { return m_error; }

private:
    void* m_handle = nullptr;
    QString m_path;
    QString m_error;
};

} // namespace vantrel::platform
