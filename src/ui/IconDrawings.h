#pragma once

#include <QString>

namespace vantrel::ui {

class IconPainter;

// The drawings behind the named icons. Sidebar and flag icons are drawn on a 16-unit grid (one unit
// is one pixel at the common 16 px size, so their edges fall on pixel boundaries there); the
// application icon on a 128-unit grid matching data/vantrel.svg's view box.
namespace IconDrawings {

using Drawing = void (*)(IconPainter&);

inline constexpr qreal namedGrid = 16;
inline constexpr qreal applicationGrid = 128;

// nullptr for a name that has no drawing.
Drawing named(const QString& name);
void applicationIcon(IconPainter& icon);

} // namespace IconDrawings

} // namespace vantrel::ui
