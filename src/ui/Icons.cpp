#include "ui/Icons.h"

#include "ui/DrawnIconEngine.h"
#include "ui/IconDrawings.h"

namespace vantrel::ui {

QIcon namedIcon(const QString& name) {
    const IconDrawings::Drawing drawing = IconDrawings::named(name);
    if (drawing == nullptr) {
        return {};
    }
    return QIcon(new DrawnIconEngine(name, drawing, IconDrawings::namedGrid,
                                     {{16, 16}, {22, 22}, {32, 32}, {48, 48}}));
}

QIcon applicationIcon() {
    return QIcon(new DrawnIconEngine(
        QStringLiteral("vantrel"), IconDrawings::applicationIcon, IconDrawings::applicationGrid,
        {{16, 16}, {22, 22}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
}

} // namespace vantrel::ui
