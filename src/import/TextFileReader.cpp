#include "import/TextFileReader.h"

#include "import/ParseException.h"

#include <QFile>
#include <QFileInfo>

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

#include <algorithm>
#include <array>
#include <memory>

namespace vantrel::import {
namespace {

// Windows-1252 characters of the bytes 0x80-0x9F; the five bytes it leaves undefined keep their
// ISO 8859-1 control character.
constexpr std::array<char16_t, 32> kWindows1252HighControls{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

// Text read byte for byte as ISO 8859-1 whose C1 control characters stand for Windows-1252: no
// export writes those controls, while Western exports put the euro sign and typographic quotes
// exactly there. Windows-1252 agrees with ISO 8859-1 on every other byte.
QString windows1252ForC1Controls(QString text) {
    for (QChar& c : text) {
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F) {
            c = QChar(kWindows1252HighControls[c.unicode() - 0x80]);
        }
    }
    return text;
}

using Source = DetectedEncoding::Source;

struct ByteOrderMark {
    QByteArrayView bytes;
    const char* converter;
};

// UTF-32 LE before UTF-16 LE: FF FE 00 00 starts with the UTF-16 LE mark.
constexpr std::array kByteOrderMarks{
    ByteOrderMark{QByteArrayView("\xEF\xBB\xBF", 3), "UTF-8"},
    ByteOrderMark{QByteArrayView("\xFF\xFE\x00\x00", 4), "UTF-32LE"},
    ByteOrderMark{QByteArrayView("\x00\x00\xFE\xFF", 4), "UTF-32BE"},
    ByteOrderMark{QByteArrayView("\xFF\xFE", 2), "UTF-16LE"},
    ByteOrderMark{QByteArrayView("\xFE\xFF", 2), "UTF-16BE"},
};

// What detection found: a decoded text, nothing usable, or an encoding announced by a byte-order
// mark whose bytes do not decode (which no fallback should paper over).
struct Detection {
    std::optional<TextFileReader::Decoded> decoded;
    bool markedButBroken = false;
};

QString withoutLeadingByteOrderMark(QString text) {
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

// Converts the whole of bytes, failing on the first illegal or truncated sequence instead of
// substituting. Works in fixed chunks so that large files cost linear time.
std::optional<QString> convert(const QByteArray& bytes, const char* converterName) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open(converterName, &status),
                                                                 &ucnv_close);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    QString text;
    text.reserve(bytes.size());
    std::array<UChar, 16 * 1024> buffer{};
    const char* source = bytes.constData();
    const char* const sourceEnd = source + bytes.size();
    for (;;) {
        status = U_ZERO_ERROR;
        UChar* target = buffer.data();
        ucnv_toUnicode(converter.get(), &target, buffer.data() + buffer.size(), &source, sourceEnd, nullptr,
                       true, &status);
        text.append(reinterpret_cast<const QChar*>(buffer.data()), target - buffer.data());
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            continue;
        }
        if (U_FAILURE(status)) {
            return std::nullopt;
        }
        return text;
    }
}

Detection fromByteOrderMark(const QByteArray& bytes) {
    for (const ByteOrderMark& mark : kByteOrderMarks) {
        if (!QByteArrayView(bytes).startsWith(mark.bytes)) {
            continue;
        }
        std::optional<QString> text = convert(bytes, mark.converter);
        if (!text) {
            return Detection{std::nullopt, true};
        }
        return Detection{
            TextFileReader::Decoded{withoutLeadingByteOrderMark(*text),
                                    {QString::fromLatin1(mark.converter), Source::ByteOrderMark, 100}},
            false};
    }
    return {};
}

struct DetectorAnswer {
    QString name;
    int confidence = 0;
};

// ICU's best guess over the prefix, when it is sure enough and not tied with another charset.
std::optional<DetectorAnswer> askDetector(const QByteArray& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status), &ucsdet_close);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    const auto length = static_cast<int32_t>(std::min(bytes.size(), TextFileReader::kDetectorPrefixBytes));
    ucsdet_setText(detector.get(), bytes.constData(), length, &status);
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &count, &status);
    if (U_FAILURE(status) || count == 0) {
        return std::nullopt;
    }
    const int best = ucsdet_getConfidence(matches[0], &status);
    const int runnerUp = count > 1 ? ucsdet_getConfidence(matches[1], &status) : 0;
    const char* name = ucsdet_getName(matches[0], &status);
    if (U_FAILURE(status) || name == nullptr || best < TextFileReader::kMinimumDetectorConfidence ||
        best == runnerUp) {
        return std::nullopt;
    }
    return DetectorAnswer{QString::fromLatin1(name), best};
}

Detection detect(const QByteArray& bytes) {
    if (Detection marked = fromByteOrderMark(bytes); marked.decoded || marked.markedButBroken) {
        return marked;
    }
    if (TextFileReader::isValidUtf8Text(bytes)) {
        return Detection{TextFileReader::Decoded{withoutLeadingByteOrderMark(QString::fromUtf8(bytes)),
                                                 {QStringLiteral("UTF-8"), Source::ValidUtf8, 100}},
                         false};
    }
    if (std::optional<DetectorAnswer> answer = askDetector(bytes)) {
        if (std::optional<QString> text = convert(bytes, answer->name.toLatin1().constData())) {
            return Detection{TextFileReader::Decoded{withoutLeadingByteOrderMark(*text),
                                                     {answer->name, Source::Detector, answer->confidence}},
                             false};
        }
    }
    return {};
}

bool isContinuation(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        throw ParseException(ParseException::kParse, QStringLiteral("Could not read file."));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw ParseException(ParseException::kParse, QStringLiteral("Could not read file."));
    }
    return bytes;
}

} // namespace

bool TextFileReader::isValidUtf8Text(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const unsigned char lead = data[i];
        if (lead >= 0x01 && lead <= 0x7F) {
            ++i;
            continue;
        }
        // The allowed range of the second byte excludes overlong forms (after E0, F0), surrogates
        // (after ED) and code points above U+10FFFF (after F4).
        qsizetype length = 0;
        unsigned char secondMin = 0x80;
        unsigned char secondMax = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            secondMin = lead == 0xE0 ? 0xA0 : 0x80;
            secondMax = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            secondMin = lead == 0xF0 ? 0x90 : 0x80;
            secondMax = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false; // NUL, a lone continuation byte, C0, C1 or F5..FF
        }
        if (size - i < length || data[i + 1] < secondMin || data[i + 1] > secondMax) {
            return false;
        }
        for (qsizetype k = 2; k < length; ++k) {
            if (!isContinuation(data[i + k])) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

TextFileReader::Decoded TextFileReader::decodeWithFallback(const QByteArray& bytes) {
    Detection detection = detect(bytes);
    if (detection.decoded) {
        return std::move(*detection.decoded);
    }
    if (detection.markedButBroken) {
        throw ParseException(ParseException::kEncoding, QString());
    }
    return Decoded{withoutLeadingByteOrderMark(westernSingleByte(bytes)),
                   {QStringLiteral("ISO-8859-1"), Source::Latin1Fallback, 100}};
}

QString TextFileReader::westernSingleByte(QByteArrayView bytes) {
    return windows1252ForC1Controls(QString::fromLatin1(bytes));
}

std::optional<TextFileReader::Decoded> TextFileReader::decodeWithDetectionOnly(const QByteArray& bytes) {
    return detect(bytes).decoded;
}

QString TextFileReader::decode(const QByteArray& bytes) {
    return decodeWithFallback(bytes).text;
}

QString TextFileReader::readWithFallback(const QString& path) {
    return decode(readBytes(path));
}

std::optional<QString> TextFileReader::readWithDetectionOnly(const QString& path) {
    std::optional<Decoded> decoded = decodeWithDetectionOnly(readBytes(path));
    if (!decoded) {
        return std::nullopt;
    }
    return std::move(decoded->text);
}

} // namespace vantrel::import
