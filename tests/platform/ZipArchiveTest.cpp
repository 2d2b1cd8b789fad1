#include "platform/ZipExtractor.h"
#include "platform/ZipWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <random>
#include <sys/stat.h>
#include <zlib.h>

namespace vantrel::platform {
namespace {

using Failure = ZipExtractor::Failure;

constexpr uLong kUnixMadeBy = (3U << 8) | 20U;

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void setModified(const QString& path, const QDateTime& when) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

// Every path below `folder`, relative to it, links and hidden files included.
QStringList everythingBelow(const QString& folder) {
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        found << QDir(folder).relativeFilePath(it.next());
    }
    found.sort();
    return found;
}

std::int64_t bytesBelow(const QString& folder) {
    std::int64_t total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        total += QFileInfo(it.next()).size();
    }
    return total;
}

// Deterministic bytes that are neither all noise nor all repetition, so deflate has work to do.
QByteArray variedBytes(qsizetype size, unsigned seed) {
    std::mt19937 random(seed);
    QByteArray bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        if (random() % 3 == 0) {
            for (int i = 0; i < 64; ++i) {
                bytes.append(static_cast<char>(random() & 0xff));
            }
        } else {
            bytes.append("Grocery;2024-03-05;-42.17;Cleared;");
        }
    }
    bytes.truncate(size);
    return bytes;
}

// Archives written with minizip directly, to hold what our writer never produces.
class CraftedZip {
public:
    explicit CraftedZip(const QString& path)
        : m_zip(zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE)) {
        EXPECT_NE(m_zip, nullptr) << path.toStdString();
    }
    ~CraftedZip() { close(); }
    CraftedZip(const CraftedZip&) = delete;
    CraftedZip& operator=(const CraftedZip&) = delete;

    void add(const QByteArray& name, const QByteArray& data, uLong mode = S_IFREG | 0644,
             int method = Z_DEFLATED) {
        zip_fileinfo info{};
        info.tmz_date = tm_zip{10, 20, 8, 14, 6, 2023};
        info.external_fa = mode << 16;
        ASSERT_EQ(zipOpenNewFileInZip4_64(m_zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                                          method, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                          Z_DEFAULT_STRATEGY, nullptr, 0, kUnixMadeBy, 1U << 11, 0),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(m_zip, data.constData(), static_cast<unsigned>(data.size())), ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(m_zip), ZIP_OK);
    }

    // Deflated `data` under a declared size and checksum of the caller's choosing.
    void addDeclaring(const QByteArray& name, const QByteArray& data, uLong declaredSize, uLong crc) {
        QByteArray deflated(static_cast<qsizetype>(compressBound(static_cast<uLong>(data.size()))) + 64,
                            '\0');
        z_stream stream{};
        ASSERT_EQ(deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY),
                  Z_OK);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
        stream.avail_in = static_cast<uInt>(data.size());
        stream.next_out = reinterpret_cast<Bytef*>(deflated.data());
        stream.avail_out = static_cast<uInt>(deflated.size());
        ASSERT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
        deflated.truncate(static_cast<qsizetype>(stream.total_out));
        deflateEnd(&stream);

        zip_fileinfo info{};
        info.tmz_date = tm_zip{10, 20, 8, 14, 6, 2023};
        info.external_fa = static_cast<uLong>(S_IFREG | 0644) << 16;
        ASSERT_EQ(zipOpenNewFileInZip4_64(m_zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                                          Z_DEFLATED, Z_DEFAULT_COMPRESSION, 1, -MAX_WBITS, DEF_MEM_LEVEL,
                                          Z_DEFAULT_STRATEGY, nullptr, 0, kUnixMadeBy, 1U << 11, 0),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(m_zip, deflated.constData(), static_cast<unsigned>(deflated.size())),
                  ZIP_OK);
        ASSERT_EQ(zipCloseFileInZipRaw(m_zip, declaredSize, crc), ZIP_OK);
    }

    void close() {
        if (m_zip != nullptr) {
            EXPECT_EQ(zipClose(m_zip, nullptr), ZIP_OK);
            m_zip = nullptr;
        }
    }

private:
    zipFile m_zip;
};

uLong crcOf(const QByteArray& data) {
    return crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.constData()),
                 static_cast<uInt>(data.size()));
}

class ZipArchiveTest : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return m_root.filePath(relative); }
    // A sub-folder of the temporary folder, so anything written beside it shows up in "out".
    QString target() const { return path(QStringLiteral("out/target")); }
    QString out() const { return path(QStringLiteral("out")); }

    ZipExtractor::Result extract(const QString& zip, const ZipExtractor::Limits& limits = {}) const {
        return ZipExtractor::extractAll(zip, target(), limits);
    }

    QTemporaryDir m_root;
};

TEST_F(ZipArchiveTest, FilesComeBackByteForByteWithTheirDates) {
    struct Source {
        QString entry;
        QByteArray bytes;
        QDateTime modified;
    };
    const std::vector<Source> sources{
        {QStringLiteral("Database.vantrelsql"), variedBytes(3 * 1024 * 1024 + 17, 7),
         QDateTime(QDate(2023, 7, 14), QTime(8, 20, 11))},
        {QStringLiteral("Database.vantrelsql-shm"), QByteArray(),
         QDateTime(QDate(2022, 12, 31), QTime(23, 59, 58))},
        {QStringLiteral("nested/deeper/DatabaseMetadata.plist"), QByteArray("<plist>4</plist>\n"),
         QDateTime(QDate(2024, 2, 29), QTime(12, 0, 0))},
        {QStringLiteral("Übersicht – März €.txt"), QByteArray("UTF-8 name\n"),
         QDateTime(QDate(2021, 3, 1), QTime(6, 7, 9))},
    };
    const QString zip = path(QStringLiteral("backup.zip"));
    {
        ZipWriter writer(zip);
        ASSERT_TRUE(writer.isOpen()) << writer.errorString().toStdString();
        for (const auto& source : sources) {
            const QString file = path(QStringLiteral("source/") + source.entry);
            writeBytes(file, source.bytes);
            setModified(file, source.modified);
            ASSERT_TRUE(writer.addFile(source.entry, file, QFileInfo(file).lastModified()))
                << writer.errorString().toStdString();
        }
        ASSERT_TRUE(writer.close()) << writer.errorString().toStdString();
    }
    ASSERT_TRUE(QFile::exists(zip));

    const auto result = extract(zip);
    ASSERT_TRUE(result.succeeded()) << result.detail.toStdString();
    QStringList expectedNames;
    for (const auto& source : sources) {
        SCOPED_TRACE(source.entry.toStdString());
        expectedNames << source.entry;
        const QString extracted = target() + QLatin1Char('/') + source.entry;
        EXPECT_EQ(readBytes(extracted), source.bytes);
        // The format keeps even seconds only.
        const qint64 lost = QFileInfo(extracted).lastModified().secsTo(source.modified);
        EXPECT_GE(lost, 0);
        EXPECT_LE(lost, 1);
    }
    EXPECT_EQ(result.extractedFiles, expectedNames);
    EXPECT_TRUE(result.detail.isEmpty());
}

TEST_F(ZipArchiveTest, EntriesAreDeflatedRegularUnixFilesWithUtf8Names) {
    const QString source = path(QStringLiteral("data.txt"));
    writeBytes(source, QByteArray(10'000, 'a'));
    const QString zip = path(QStringLiteral("a.zip"));
    {
        ZipWriter writer(zip);
        ASSERT_TRUE(writer.addFile(QStringLiteral("sub/données.txt"), source, QDateTime::currentDateTime()));
        ASSERT_TRUE(writer.close());
    }
    unzFile reader = unzOpen64(QFile::encodeName(zip).constData());
    ASSERT_NE(reader, nullptr);
    ASSERT_EQ(unzGoToFirstFile(reader), UNZ_OK);
    unz_file_info64 info{};
    char name[64] = {};
    ASSERT_EQ(unzGetCurrentFileInfo64(reader, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0), UNZ_OK);
    EXPECT_EQ(QString::fromUtf8(name), QStringLiteral("sub/données.txt"));
    EXPECT_EQ(info.version >> 8, 3U);
    EXPECT_EQ((info.external_fa >> 16) & S_IFMT, static_cast<uLong>(S_IFREG));
    EXPECT_EQ((info.external_fa >> 16) & 0777, 0644U);
    EXPECT_NE(info.flag & (1U << 11), 0U);
    EXPECT_EQ(info.compression_method, static_cast<uLong>(Z_DEFLATED));
    EXPECT_EQ(info.uncompressed_size, 10'000U);
    EXPECT_LT(info.compressed_size, 1'000U);
    EXPECT_EQ(unzGoToNextFile(reader), UNZ_END_OF_LIST_OF_FILE);
    unzClose(reader);
}

TEST_F(ZipArchiveTest, AnUnfinishedOrFailedArchiveLeavesNoFile) {
    const QString source = path(QStringLiteral("data.bin"));
    writeBytes(source, variedBytes(100'000, 3));
    const QString abandoned = path(QStringLiteral("abandoned.zip"));
    {
        ZipWriter writer(abandoned);
        ASSERT_TRUE(writer.addFile(QStringLiteral("data.bin"), source, QDateTime::currentDateTime()));
        ASSERT_TRUE(QFile::exists(abandoned));
    }
    EXPECT_FALSE(QFile::exists(abandoned));

    const QString missingSource = path(QStringLiteral("missing-source.zip"));
    {
        ZipWriter writer(missingSource);
        ASSERT_TRUE(writer.addFile(QStringLiteral("data.bin"), source, QDateTime::currentDateTime()));
        EXPECT_FALSE(writer.addFile(QStringLiteral("gone.bin"), path(QStringLiteral("gone.bin")),
                                    QDateTime::currentDateTime()));
        EXPECT_FALSE(writer.errorString().isEmpty());
        // The archive would lack a file: it is not finished.
        EXPECT_FALSE(writer.close());
        EXPECT_FALSE(QFile::exists(missingSource));
    }
    EXPECT_FALSE(QFile::exists(missingSource));

    // A name our extractor would refuse is never written.
    const QString unsafeName = path(QStringLiteral("unsafe-name.zip"));
    {
        ZipWriter writer(unsafeName);
        EXPECT_FALSE(writer.addFile(QStringLiteral("../data.bin"), source, QDateTime::currentDateTime()));
        EXPECT_FALSE(writer.close());
    }
    EXPECT_FALSE(QFile::exists(unsafeName));

    ZipWriter nowhere(path(QStringLiteral("no/such/folder/a.zip")));
    EXPECT_FALSE(nowhere.isOpen());
    EXPECT_FALSE(nowhere.addFile(QStringLiteral("data.bin"), source, QDateTime::currentDateTime()));
    EXPECT_FALSE(nowhere.close());
    EXPECT_FALSE(nowhere.errorString().isEmpty());
}

TEST_F(ZipArchiveTest, EntryNameRules) {
    for (const char* safe : {"a.txt", "dir/", "dir/sub/file", "a..b", "..hidden", "x/..y/z", "café/ß.txt",
                             "ab:c", "1:/x", "./x"}) {
        EXPECT_TRUE(ZipExtractor::isSafeEntryName(QString::fromUtf8(safe))) << safe;
    }
    for (const char* unsafe : {"", "/etc/x", "/", "..", "../x", "a/../../x", "a/..", "a/../b", "a\\b",
                               "..\\x", "C:/x", "c:x", "a:b", "Z:"}) {
        EXPECT_FALSE(ZipExtractor::isSafeEntryName(QString::fromUtf8(unsafe))) << unsafe;
    }
}

TEST_F(ZipArchiveTest, UnsafeEntriesStopTheExtractionAndNothingLandsOutsideTheFolder) {
    struct Case {
        QByteArray name;
        uLong mode;
        QByteArray data;
    };
    const QByteArray absoluteIntoOut = QFile::encodeName(out() + QStringLiteral("/absolute.txt"));
    const std::vector<Case> cases{
        {absoluteIntoOut, S_IFREG | 0644, "abs"},
        {"../escaped.txt", S_IFREG | 0644, "up"},
        {"a/../../escaped.txt", S_IFREG | 0644, "up twice"},
        {"a\\..\\..\\escaped.txt", S_IFREG | 0644, "backslash"},
        {"C:/escaped.txt", S_IFREG | 0644, "drive"},
        {"", S_IFREG | 0644, "no name"},
        {"link", S_IFLNK | 0777, "../escaped.txt"},
        {"pipe", S_IFIFO | 0644, ""},
        {"bad-utf8-\xff.txt", S_IFREG | 0644, "bytes"},
    };
    for (const auto& unsafe : cases) {
        SCOPED_TRACE(unsafe.name.toStdString());
        QDir(out()).removeRecursively();
        const QString zip = path(QStringLiteral("unsafe.zip"));
        QFile::remove(zip);
        {
            CraftedZip crafted(zip);
            crafted.add("ok.txt", "fine");
            crafted.add(unsafe.name, unsafe.data, unsafe.mode);
            crafted.add("after.txt", "never reached");
        }
        const auto result = extract(zip);
        EXPECT_EQ(result.failure, Failure::UnsafeEntry);
        EXPECT_FALSE(result.detail.isEmpty());
        EXPECT_EQ(result.extractedFiles, QStringList{QStringLiteral("ok.txt")});
        EXPECT_EQ(everythingBelow(out()),
                  (QStringList{QStringLiteral("target"), QStringLiteral("target/ok.txt")}));
    }
}

TEST_F(ZipArchiveTest, FoldersAreCreatedAndNothingIsOverwritten) {
    const QString zip = path(QStringLiteral("folders.zip"));
    {
        CraftedZip crafted(zip);
        crafted.add("empty/", "", S_IFDIR | 0755);
        crafted.add("docs/", "", S_IFDIR | 0755);
        crafted.add("docs/a.txt", "first");
        crafted.add("docs/a.txt", "second");
    }
    const auto result = extract(zip);
    EXPECT_EQ(result.failure, Failure::TargetExists);
    EXPECT_EQ(result.detail, QStringLiteral("docs/a.txt"));
    EXPECT_EQ(result.extractedFiles, QStringList{QStringLiteral("docs/a.txt")});
    EXPECT_TRUE(QFileInfo(target() + QStringLiteral("/empty")).isDir());
    EXPECT_EQ(readBytes(target() + QStringLiteral("/docs/a.txt")), QByteArray("first"));

    // A file already in the folder stays as it was.
    QDir(out()).removeRecursively();
    writeBytes(target() + QStringLiteral("/keep.txt"), "mine");
    {
        QFile::remove(zip);
        CraftedZip crafted(zip);
        crafted.add("keep.txt", "theirs");
    }
    const auto second = extract(zip);
    EXPECT_EQ(second.failure, Failure::TargetExists);
    EXPECT_EQ(readBytes(target() + QStringLiteral("/keep.txt")), QByteArray("mine"));
}

TEST_F(ZipArchiveTest, InflatedBytesAndEntriesAreCapped) {
    const QString bomb = path(QStringLiteral("bomb.zip"));
    {
        CraftedZip crafted(bomb);
        crafted.add("zeros.bin", QByteArray(4 * 1024 * 1024, '\0'));
    }
    ASSERT_LT(QFileInfo(bomb).size(), 64 * 1024);
    const auto bombed = extract(bomb, {.maxTotalBytes = 256 * 1024, .maxEntries = 10});
    EXPECT_EQ(bombed.failure, Failure::TooLarge);
    EXPECT_TRUE(bombed.extractedFiles.isEmpty());
    EXPECT_LE(bytesBelow(target()), 256 * 1024);
    EXPECT_FALSE(QFile::exists(target() + QStringLiteral("/zeros.bin")));

    // The cap counts across entries; a total of exactly the cap passes.
    const QString several = path(QStringLiteral("several.zip"));
    {
        CraftedZip crafted(several);
        for (const char* name : {"1.bin", "2.bin", "3.bin"}) {
            crafted.add(name, QByteArray(40'000, 'x'));
        }
    }
    QDir(out()).removeRecursively();
    const auto capped = extract(several, {.maxTotalBytes = 100'000, .maxEntries = 10});
    EXPECT_EQ(capped.failure, Failure::TooLarge);
    EXPECT_EQ(capped.extractedFiles, (QStringList{QStringLiteral("1.bin"), QStringLiteral("2.bin")}));
    EXPECT_EQ(bytesBelow(target()), 80'000);
    QDir(out()).removeRecursively();
    EXPECT_TRUE(extract(several, {.maxTotalBytes = 120'000, .maxEntries = 10}).succeeded());

    QDir(out()).removeRecursively();
    const auto crowded = extract(several, {.maxTotalBytes = 1'000'000, .maxEntries = 2});
    EXPECT_EQ(crowded.failure, Failure::TooLarge);
    EXPECT_TRUE(everythingBelow(target()).isEmpty());
    QDir(out()).removeRecursively();
    EXPECT_TRUE(extract(several, {.maxTotalBytes = 1'000'000, .maxEntries = 3}).succeeded());
}

TEST_F(ZipArchiveTest, DamagedArchivesNeverSucceed) {
    // Deflated data with bytes flipped in the middle.
    const QString flipped = path(QStringLiteral("flipped.zip"));
    {
        CraftedZip crafted(flipped);
        crafted.add("data.bin", variedBytes(400'000, 11));
    }
    QByteArray bytes = readBytes(flipped);
    for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 32; ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    }
    writeBytes(flipped, bytes);
    const auto damaged = extract(flipped);
    EXPECT_TRUE(damaged.failure == Failure::CorruptEntry || damaged.failure == Failure::CannotOpen)
        << static_cast<int>(damaged.failure);
    EXPECT_TRUE(damaged.extractedFiles.isEmpty());
    EXPECT_FALSE(QFile::exists(target() + QStringLiteral("/data.bin")));

    // Stored bytes inflate without complaint: only the checksum tells.
    const QString stored = path(QStringLiteral("stored.zip"));
    const QByteArray text = variedBytes(20'000, 5);
    {
        CraftedZip crafted(stored);
        crafted.add("stored.txt", text, S_IFREG | 0644, 0);
    }
    bytes = readBytes(stored);
    const qsizetype at = bytes.indexOf(text.left(40)) + 1000;
    ASSERT_GT(at, 1000);
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    writeBytes(stored, bytes);
    QDir(out()).removeRecursively();
    const auto badChecksum = extract(stored);
    EXPECT_EQ(badChecksum.failure, Failure::CorruptEntry);
    EXPECT_EQ(badChecksum.detail, QStringLiteral("stored.txt"));
    EXPECT_FALSE(QFile::exists(target() + QStringLiteral("/stored.txt")));

    // A declared size above the real one skips minizip's checksum test.
    const QString lying = path(QStringLiteral("lying.zip"));
    const QByteArray content = variedBytes(5'000, 9);
    {
        CraftedZip crafted(lying);
        crafted.addDeclaring("lying.txt", content, 50'000, crcOf(content));
    }
    QDir(out()).removeRecursively();
    EXPECT_EQ(extract(lying).failure, Failure::CorruptEntry);
    // The same entry declared honestly passes, so the refusal above is about the size.
    const QString honest = path(QStringLiteral("honest.zip"));
    {
        CraftedZip crafted(honest);
        crafted.addDeclaring("honest.txt", content, static_cast<uLong>(content.size()), crcOf(content));
    }
    QDir(out()).removeRecursively();
    const auto fine = extract(honest);
    EXPECT_TRUE(fine.succeeded()) << fine.detail.toStdString();
    EXPECT_EQ(readBytes(target() + QStringLiteral("/honest.txt")), content);

    const QString notZip = path(QStringLiteral("not.zip"));
    writeBytes(notZip, "PK but not really an archive, just text");
    EXPECT_EQ(extract(notZip).failure, Failure::CannotOpen);
    EXPECT_EQ(extract(path(QStringLiteral("absent.zip"))).failure, Failure::CannotOpen);
}

} // namespace
} // namespace vantrel::platform
