#pragma once

#include "import/DetectedEncoding.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vantrel::import {

// Reads a text file whose encoding nobody told us: byte-order marks first, then strict UTF-8
// validity over every byte, then ICU's charset detector on a prefix, then (app flavour only)
// ISO 8859-1, whose unused C1 control range reads as Windows-1252 (the euro sign, typographic
// quotes). A decoded leading U+FEFF is dropped.
class TextFileReader {
public:
    struct Decoded {
        QString text;
        DetectedEncoding encoding;
    };

    // The detector's answer must reach this confidence (0-100). Multi-byte and BOM-less UTF-16
    // answers come back at 100, while its guesses between 8-bit code pages of Western text land
    // around 20-50 and are often wrong; Latin-1 reads those better than a wrong code page would.
    static constexpr int kMinimumDetectorConfidence = 50;
    // The detector sees at most this many leading bytes; it is slow and gains nothing from more.
    static constexpr qsizetype kDetectorPrefixBytes = 64 * 1024;

    TextFileReader() = delete;

    // App flavour. Throws ParseException kParse "Could not read file." when the file cannot be
    // read, and kEncoding (no reason) when a byte-order-marked file does not decode.
    static QString readWithFallback(const QString& path);
    // Bank flavour: nothing when the encoding cannot be determined or the content is broken.
    // An unreadable file still throws kParse.
    static std::optional<QString> readWithDetectionOnly(const QString& path);

    // The same on bytes already in memory.
    static QString decode(const QByteArray& bytes);
    static Decoded decodeWithFallback(const QByteArray& bytes);
    static std::optional<Decoded> decodeWithDetectionOnly(const QByteArray& bytes);

    // Well-formed UTF-8 in the strict sense: no overlong forms, surrogates, code points above
    // U+10FFFF or truncated sequences. NUL bytes also disqualify: they mean UTF-16 or binary.
    static bool isValidUtf8Text(const QByteArray& bytes);
    // ISO 8859-1, except that the C1 range 0x80-0x9F reads as Windows-1252 (its five undefined
    // bytes stay controls): how the fallback reads a Western single-byte file.
    static QString westernSingleByte(QByteArrayView bytes);
};

} // namespace vantrel::import
