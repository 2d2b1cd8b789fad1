#pragma once

#include <QString>

namespace vantrel::import {

// Which text encoding a file was read with and how it was chosen, for the log and for tests.
struct DetectedEncoding {
    enum class Source {
        ByteOrderMark, // the file starts with a UTF-8, UTF-16 or UTF-32 byte-order mark
        ValidUtf8,     // every byte sequence is well-formed UTF-8 (this includes plain ASCII)
        Detector,      // ICU's charset detector was sure enough and the bytes converted cleanly
        Latin1Fallback // nothing else applied; every byte is one ISO 8859-1 character
    };

    QString name; // ICU converter name, e.g. "UTF-8", "UTF-16LE", "windows-1252", "ISO-8859-1"
    Source source = Source::ValidUtf8;
    int confidence = 100; // the detector's 0-100 confidence; 100 for the rules that cannot guess

    bool operator==(const DetectedEncoding&) const = default;

    QString description() const {
        switch (source) {
        case Source::ByteOrderMark:
            return name + QStringLiteral(" (byte-order mark)");
        case Source::ValidUtf8:
            return name + QStringLiteral(" (valid UTF-8)");
        case Source::Detector:
            return name + QStringLiteral(" (detected, confidence %1)").arg(confidence);
        case Source::Latin1Fallback:
            return name + QStringLiteral(" (fallback)");
        }
        return name;
    }
};

} // namespace vantrel::import
