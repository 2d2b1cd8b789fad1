#pragma once

#include "import/CsvRows.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <memory>
#include <optional>

namespace vantrel::import {

// Splits comma-separated bytes into rows of field texts. The input is read in chunks of the
// buffer size; the unfinished row at the end of a chunk is carried over to the next one, kept as
// bytes so that a row or a multi-byte character cut by a chunk boundary reads the same as an
// uncut one. One pass over the bytes, whatever their length.
//
// Rows end at LF or CR outside double quotes; runs of line ends between rows are skipped, so blank
// lines give no rows. A row must stay below the buffer size (its line end not counted): a longer
// one makes the whole result the single row {"ERROR: Buffer too small"}.
class CsvParser {
public:
    // The field texts' encoding. Latin-1 reads every byte as one character (0x80-0x9F as
    // Windows-1252 does: euro sign, typographic quotes).
    enum class Encoding { Latin1, Utf8 };

    // Bytes ready for the splitter, with the encoding their fields should be read in.
    struct PreparedBytes {
        QByteArray bytes;
        Encoding encoding = Encoding::Latin1;
    };

    static constexpr qsizetype kDefaultBufferSize = 2048;
    static constexpr auto kBufferTooSmall = "ERROR: Buffer too small";
    static constexpr auto kCouldNotAllocate = "ERROR: Could not allocate bytes for buffer";

    CsvParser();
    ~CsvParser();
    CsvParser(const CsvParser&) = delete;
    CsvParser& operator=(const CsvParser&) = delete;

    // False when the file cannot be opened for reading.
    bool openFile(const QString& path);
    // Reads from a device the caller keeps open and alive until closeFile or the next open.
    void openDevice(QIODevice& device);
    void openBytes(const QByteArray& bytes);
    void closeFile();

    // Splits everything from the current position of the open input to its end. Nothing open is
    // an InternalError.
    CsvRows parseFile();

    // The first of ",", ";" and TAB in the row, outside double quotes; nothing when it holds none
    // (every row is then one field).
    static std::optional<char> autodetectDelimiter(QByteArrayView firstRow);

    // One field's text: enclosing double quotes removed (when the field is longer than one byte
    // and both starts and ends with one), the bytes decoded, every doubled quote made single.
    QString parseString(QByteArrayView fieldBytes) const;

    // Nothing means: detect from the first row at the next parse. A quote or a line end cannot
    // separate fields (InternalError).
    void setDelimiter(std::optional<char> delimiter);
    std::optional<char> delimiter() const { return m_delimiter; }
    // At least 1 (InternalError otherwise).
    void setBufferSize(qsizetype size);
    qsizetype bufferSize() const { return m_bufferSize; }
    void setEncoding(Encoding encoding) { m_encoding = encoding; }
    Encoding encoding() const { return m_encoding; }

    // Chooses how a whole file's fields are read: a UTF-8 byte-order mark or bytes that are valid
    // UTF-8 as a whole give UTF-8 (the mark removed); a UTF-16 or UTF-32 mark gives the text
    // re-encoded as UTF-8; anything else stays Latin-1, so a stray 0xE9 still reads as "é".
    // Throws ParseException "VTParseEncodingException" when a UTF-16 or UTF-32 marked file does
    // not decode.
    static PreparedBytes prepare(QByteArray bytes);

private:
    class Splitter;

    std::unique_ptr<QIODevice> m_ownedDevice;
    QIODevice* m_device = nullptr;
    std::optional<char> m_delimiter;
    qsizetype m_bufferSize = kDefaultBufferSize;
    Encoding m_encoding = Encoding::Latin1;
};

} // namespace vantrel::import
