#pragma once

#include <QColor>

namespace vantrel::ui {

// The colours every drawn icon takes from, so the sidebar, the flags and the application icon read
// as one family. Account kinds each own a hue; neutral shapes use the slate tones.
struct IconPalette {
    static QColor ink() { return QColor(0x33, 0x41, 0x55); }
    static QColor slate() { return QColor(0x64, 0x74, 0x8b); }
    static QColor mist() { return QColor(0xcb, 0xd5, 0xe1); }
    static QColor paper() { return QColor(0xf8, 0xfa, 0xfc); }
    static QColor blue() { return QColor(0x2f, 0x80, 0xed); }
    static QColor blueDark() { return QColor(0x1d, 0x5f, 0xc4); }
    static QColor green() { return QColor(0x22, 0xa0, 0x6b); }
    static QColor greenLight() { return QColor(0xa7, 0xf3, 0xd0); }
    static QColor gold() { return QColor(0xf5, 0xb8, 0x2e); }
    static QColor goldDark() { return QColor(0xd1, 0x8e, 0x0b); }
    static QColor purple() { return QColor(0x7c, 0x5c, 0xfa); }
    static QColor purpleDark() { return QColor(0x4c, 0x32, 0xc2); }
    static QColor pink() { return QColor(0xf4, 0x72, 0xb6); }
    static QColor pinkDark() { return QColor(0xdb, 0x4f, 0x97); }
    static QColor brown() { return QColor(0xb7, 0x79, 0x3e); }
    static QColor brownDark() { return QColor(0x8a, 0x55, 0x26); }
    static QColor orange() { return QColor(0xf2, 0x8c, 0x28); }
    static QColor red() { return QColor(0xe5, 0x48, 0x4d); }
    static QColor teal() { return QColor(0x0f, 0x76, 0x6e); }

    // The application icon's background runs between these two; data/vantrel.svg uses the same.
    static QColor brandTop() { return QColor(0x2d, 0xd4, 0xbf); }
    static QColor brandBottom() { return QColor(0x25, 0x63, 0xeb); }
    static QColor coin() { return QColor(0xfb, 0xbf, 0x24); }
    static QColor coinRim() { return QColor(0xd9, 0x77, 0x06); }
    static QColor pageLine() { return QColor(0xcb, 0xd5, 0xe1); }
};

} // namespace vantrel::ui
