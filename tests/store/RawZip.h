#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace vantrel::store::testing {

// Writes a zip of stored (uncompressed) entries byte by byte, with whatever names it is given:
// archives that no well-behaved writer would produce.
class RawZip {
public:
    void add(const QByteArray& name, const QByteArray& content) { m_entries.emplace_back(name, content); }

    bool writeTo(const QString& path) const {
        QByteArray archive;
        QByteArray directory;
        for (const auto& [name, content] : m_entries) {
            const std::uint32_t offset = static_cast<std::uint32_t>(archive.size());
            const std::uint32_t crc = crc32(content);
            const auto size = static_cast<std::uint32_t>(content.size());
            appendU32(archive, 0x04034b50);
            appendCommon(archive, name, crc, size);
            appendU16(archive, 0); // extra length
            archive += name;
            archive += content;

            appendU32(directory, 0x02014b50);
            appendU16(directory, 20); // made by
            appendCommon(directory, name, crc, size);
            appendU16(directory, 0); // extra length
            appendU16(directory, 0); // comment length
            appendU16(directory, 0); // disk
            appendU16(directory, 0); // internal attributes
            appendU32(directory, 0); // external attributes
            appendU32(directory, offset);
            directory += name;
        }
        const auto directoryOffset = static_cast<std::uint32_t>(archive.size());
        archive += directory;
        appendU32(archive, 0x06054b50);
        appendU16(archive, 0);
        appendU16(archive, 0);
        appendU16(archive, static_cast<std::uint16_t>(m_entries.size()));
        appendU16(archive, static_cast<std::uint16_t>(m_entries.size()));
        appendU32(archive, static_cast<std::uint32_t>(directory.size()));
        appendU32(archive, directoryOffset);
        appendU16(archive, 0);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(archive) == archive.size();
    }

private:
    static void appendU16(QByteArray& out, std::uint16_t value) {
        out.append(static_cast<char>(value & 0xff));
        out.append(static_cast<char>(value >> 8));
    }
    static void appendU32(QByteArray& out, std::uint32_t value) {
        appendU16(out, static_cast<std::uint16_t>(value & 0xffff));
        appendU16(out, static_cast<std::uint16_t>(value >> 16));
    }
    // The fields local and central headers share, from "version needed" to "extra length".
    static void appendCommon(QByteArray& out, const QByteArray& name, std::uint32_t crc, std::uint32_t size) {
        appendU16(out, 20);     // version needed
        appendU16(out, 0);      // flags
        appendU16(out, 0);      // stored
        appendU16(out, 0);      // time
        appendU16(out, 0x5821); // 2024-01-01
        appendU32(out, crc);
        appendU32(out, size);
        appendU32(out, size);
        appendU16(out, static_cast<std::uint16_t>(name.size()));
    }
    static std::uint32_t crc32(const QByteArray& bytes) {
        std::uint32_t crc = 0xffffffffu;
        for (const char byte : bytes) {
            crc ^= static_cast<std::uint8_t>(byte);
            for (int bit = 0; bit < 8; ++bit) {
                crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
            }
        }
        return ~crc;
    }

    std::vector<std::pair<QByteArray, QByteArray>> m_entries;
};

} // namespace vantrel::store::testing
