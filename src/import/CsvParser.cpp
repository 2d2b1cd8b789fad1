#include "import/CsvParser.h"

#include "import/ParseException.h"
#include "import/TextFileReader.h"
#include "platform/InternalError.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <new>

namespace vantrel::import {
namespace {

constexpr char kQuote = '"';
const QByteArray kUtf8ByteOrderMark("\xEF\xBB\xBF");

bool isLineEnd(char byte) {
    return byte == '\n' || byte == '\r';
}

} // namespace

// The streaming half of the parser: finds row ends (which depend only on the quote state, never on
// the delimiter), carries the unfinished row from chunk to chunk, and turns each finished row into
// fields. The delimiter is settled by the first finished row when none was set.
class CsvParser::Splitter {
public:
    explicit Splitter(const CsvParser& parser)
        : m_parser(parser)
        , m_delimiter(parser.m_delimiter)
        , m_delimiterKnown(parser.m_delimiter.has_value()) {}

    // False when a row reached the buffer size.
    bool feed(QByteArrayView chunk) {
        qsizetype rowStart = 0;
        for (qsizetype i = 0; i < chunk.size(); ++i) {
            const char byte = chunk[i];
            if (!m_inRow) {
                if (isLineEnd(byte)) {
                    continue;
                }
                m_inRow = true;
                rowStart = i;
            }
            if (byte == kQuote) {
                m_inQuotes = !m_inQuotes;
            } else if (!m_inQuotes && isLineEnd(byte)) {
                m_row.append(chunk.sliced(rowStart, i - rowStart));
                if (m_row.size() >= m_parser.m_bufferSize) {
                    return false;
                }
                endRow();
            }
        }
        if (m_inRow) {
            m_row.append(chunk.sliced(rowStart));
            return m_row.size() < m_parser.m_bufferSize;
        }
        return true;
    }

    CsvRows finish() {
        if (m_inRow) {
            endRow();
        }
        return std::move(m_rows);
    }

private:
    void endRow() {
        m_inRow = false;
        m_inQuotes = false;
        if (m_isFirstRow) {
            m_isFirstRow = false;
            // A UTF-8 file's byte-order mark is not part of its first field.
            if (m_parser.m_encoding == Encoding::Utf8 && m_row.startsWith(kUtf8ByteOrderMark)) {
                m_row.remove(0, kUtf8ByteOrderMark.size());
                if (m_row.isEmpty()) {
                    return;
                }
            }
        }
        if (!m_delimiterKnown) {
            m_delimiter = autodetectDelimiter(m_row);
            m_delimiterKnown = true;
        }
        m_rows.push_back(fieldsOf(m_row));
        m_row.clear();
    }

    QStringList fieldsOf(QByteArrayView row) const {
        QStringList fields;
        bool inQuotes = false;
        qsizetype fieldStart = 0;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const char byte = row[i];
            if (byte == kQuote) {
                inQuotes = !inQuotes;
            } else if (!inQuotes && m_delimiter && byte == *m_delimiter) {
                fields.append(m_parser.parseString(row.sliced(fieldStart, i - fieldStart)));
                fieldStart = i + 1;
            }
        }
        fields.append(m_parser.parseString(row.sliced(fieldStart)));
        return fields;
    }

    const CsvParser& m_parser;
    std::optional<char> m_delimiter;
    bool m_delimiterKnown;
    QByteArray m_row; // the unfinished row, carried across chunks
    bool m_inRow = false;
    bool m_inQuotes = false;
    bool m_isFirstRow = true;
    CsvRows m_rows;
};

CsvParser::CsvParser() = default;
CsvParser::~CsvParser() = default;

bool CsvParser::openFile(const QString& path) {
    closeFile();
    if (QFileInfo(path).isDir()) {
        return false;
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        return false;
    }
    m_ownedDevice = std::move(file);
    m_device = m_ownedDevice.get();
    return true;
}

void CsvParser::openDevice(QIODevice& device) {
    closeFile();
    m_device = &device;
}

void CsvParser::openBytes(const QByteArray& bytes) {
    closeFile();
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    m_ownedDevice = std::move(buffer);
    m_device = m_ownedDevice.get();
}

void CsvParser::closeFile() {
    m_device = nullptr;
    m_ownedDevice.reset();
}

CsvRows CsvParser::parseFile() {
    if (m_device == nullptr) {
        throw platform::InternalError("CsvParser::parseFile without an open input");
    }
    QByteArray buffer;
    try {
        buffer.resize(m_bufferSize);
    } catch (const std::bad_alloc&) {
        return {QStringList{QString::fromLatin1(kCouldNotAllocate)}};
    }
    Splitter splitter(*this);
    for (;;) {
        const qint64 count = m_device->read(buffer.data(), m_bufferSize);
        if (count < 0) {
            throw ParseException(ParseException::kParse, QStringLiteral("Could not read file."));
        }
        if (count == 0) {
            break;
        }
        if (!splitter.feed(QByteArrayView(buffer.constData(), count))) {
            return {QStringList{QString::fromLatin1(kBufferTooSmall)}};
        }
    }
    return splitter.finish();
}

std::optional<char> CsvParser::autodetectDelimiter(QByteArrayView firstRow) {
    bool inQuotes = false;
    for (const char byte : firstRow) {
        if (byte == kQuote) {
            inQuotes = !inQuotes;
        } else if (!inQuotes && (byte == ',' || byte == ';' || byte == '\t')) {
            return byte;
        }
    }
    return std::nullopt;
}

QString CsvParser::parseString(QByteArrayView fieldBytes) const {
    if (fieldBytes.size() > 1 && fieldBytes.front() == kQuote && fieldBytes.back() == kQuote) {
        fieldBytes = fieldBytes.sliced(1, fieldBytes.size() - 2);
    }
    QString text = m_encoding == Encoding::Utf8 ? QString::fromUtf8(fieldBytes)
                                                : TextFileReader::westernSingleByte(fieldBytes);
    if (text.contains(QLatin1String("\"\""))) {
        text.replace(QLatin1String("\"\""), QLatin1String("\""));
    }
    return text;
}

void CsvParser::setDelimiter(std::optional<char> delimiter) {
    if (delimiter && (*delimiter == kQuote || isLineEnd(*delimiter))) {
        throw platform::InternalError("CsvParser: a quote or a line end cannot be the delimiter");
    }
    m_delimiter = delimiter;
}

void CsvParser::setBufferSize(qsizetype size) {
    if (size < 1) {
        throw platform::InternalError("CsvParser: the buffer size must be at least 1");
    }
    m_bufferSize = size;
}

CsvParser::PreparedBytes CsvParser::prepare(QByteArray bytes) {
    if (bytes.startsWith(kUtf8ByteOrderMark)) {
        bytes.remove(0, kUtf8ByteOrderMark.size());
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
               bytes.startsWith(QByteArrayView("\x00\x00\xFE\xFF", 4))) {
        std::optional<TextFileReader::Decoded> decoded = TextFileReader::decodeWithDetectionOnly(bytes);
        if (!decoded) {
            throw ParseException(ParseException::kEncoding, QString());
        }
        return {decoded->text.toUtf8(), Encoding::Utf8};
    }
    const Encoding encoding = TextFileReader::isValidUtf8Text(bytes) ? Encoding::Utf8 : Encoding::Latin1;
    return {std::move(bytes), encoding};
}

} // namespace vantrel::import
