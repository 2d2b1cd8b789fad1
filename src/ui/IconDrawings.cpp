#include "ui/IconDrawings.h"

#include "ui/IconPainter.h"
#include "ui/IconPalette.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <array>
#include <utility>

namespace vantrel::ui::IconDrawings {

namespace {

using P = IconPalette;

QColor faded(QColor color) {
    color.setAlphaF(0.6f);
    return color;
}

// --- account kinds ---

void checking(IconPainter& icon) {
    icon.fillRect({1, 3, 14, 10}, P::blue(), 1.5);
    icon.fillRect({3, 6, 6, 1}, P::paper());                                    // payee
    icon.fillRect({10, 5, 3, 2}, P::paper(), 0.5);                              // amount box
    icon.strokeLine({{3.5, 10}, {5, 8.5}, {6.5, 10}, {8, 8.5}}, 1, P::paper()); // signature
    icon.fillRect({9, 10, 4, 1}, P::paper());
}

void savings(IconPainter& icon) {
    icon.fillRect({4, 11, 2, 3}, P::pinkDark(), 0.6); // legs
    icon.fillRect({9, 11, 2, 3}, P::pinkDark(), 0.6);
    icon.strokeLine({{2.5, 8.5}, {1.2, 7.8}, {1.5, 6.6}}, 1, P::pink()); // tail
    icon.fillOval({2, 5, 11, 8}, P::pink());
    icon.fillRect({12, 7.5, 2.5, 3}, P::pinkDark(), 1);                // snout
    icon.fillPolygon({{8.5, 5.8}, {10, 3}, {11.5, 6}}, P::pinkDark()); // ear
    icon.fillEllipse({10.3, 8}, 0.75, P::ink());
    icon.fillRect({5, 5.5, 3, 1}, P::pinkDark(), 0.5); // coin slot
    icon.fillEllipse({6.5, 2.5}, 2, P::gold());
    icon.fillRect({6, 1.5, 1, 2}, P::goldDark(), 0.5);
}

void creditCard(IconPainter& icon) {
    icon.fillRect({1, 3, 14, 10}, P::purple(), 1.5);
    icon.fillRect({1, 5, 14, 2}, P::purpleDark()); // magnetic stripe
    icon.fillRect({3, 9, 3, 2}, P::gold(), 0.5);   // chip
    icon.fillRect({8, 10, 5, 1}, P::paper());
}

void cash(IconPainter& icon) {
    icon.fillRect({1, 4, 14, 8}, P::green(), 1);
    icon.fillEllipse({8, 8}, 2.5, P::greenLight());
    icon.fillEllipse({8, 8}, 1.2, P::green());
    icon.fillEllipse({4, 8}, 0.9, P::greenLight());
    icon.fillEllipse({12, 8}, 0.9, P::greenLight());
}

void other(IconPainter& icon) {
    icon.fillRect({3, 1, 9, 4}, P::blue(), 1); // a card tucked in the wallet
    icon.eraseRect({0, 3, 16, 12}, 2);
    icon.fillRect({1, 4, 14, 10}, P::brown(), 1.5);
    icon.fillRect({9, 7, 6, 4}, P::brownDark(), 1); // clasp
    icon.fillEllipse({11.5, 9}, 0.9, P::gold());
}

void allAccounts(IconPainter& icon) {
    icon.fillRect({5, 1, 10, 7}, P::purple(), 1.2);
    icon.eraseRect({2, 3.5, 12, 9}, 2);
    icon.fillRect({3, 4.5, 10, 7}, P::green(), 1.2);
    icon.eraseRect({0, 7, 12, 9}, 2);
    icon.fillRect({1, 8, 10, 7}, P::blue(), 1.2);
    icon.fillRect({3, 12, 4, 1}, P::paper());
}

// --- sidebar groups ---

void transactions(IconPainter& icon) {
    const std::array<std::pair<QColor, qreal>, 3> rows{{{P::green(), 8}, {P::red(), 6}, {P::blue(), 7}}};
    qreal top = 3;
    for (const auto& [color, length] : rows) {
        icon.fillEllipse({3.5, top + 1}, 1.5, color);
        icon.fillRect({6, top, length, 2}, P::slate(), 1);
        top += 4;
    }
}

void charts(IconPainter& icon) {
    icon.fillRect({1, 9, 4, 5}, P::blue(), 0.8);
    icon.fillRect({6, 3, 4, 11}, P::green(), 0.8);
    icon.fillRect({11, 6, 4, 8}, P::gold(), 0.8);
}

void budgets(IconPainter& icon) {
    const QPointF hub(8, 12);
    icon.strokeArc(hub, 5.5, 0, 180, 3, P::mist());
    icon.strokeArc(hub, 5.5, 180, -110, 3, P::green()); // spent so far
    icon.strokeLine({hub, {9.7, 7.3}}, 1.5, P::ink());  // needle at 70 degrees
    icon.fillEllipse(hub, 1.5, P::ink());
}

void scheduled(IconPainter& icon) {
    icon.fillRect({2, 3, 12, 12}, P::red(), 1.5);
    icon.fillRect({3, 7, 10, 7}, P::paper(), 0.5);
    icon.fillRect({5, 1, 2, 4}, P::ink(), 1); // rings
    icon.fillRect({9, 1, 2, 4}, P::ink(), 1);
    for (const QPointF& day :
         {QPointF(4, 8), QPointF(7, 8), QPointF(10, 8), QPointF(4, 11), QPointF(7, 11)}) {
        icon.fillRect({day, QSizeF(2, 2)}, P::slate());
    }
    icon.fillRect({10, 11, 2, 2}, P::red());
}

void breakdown(IconPainter& icon) {
    const QPointF center(7.5, 8.5);
    icon.fillPie(center, 6.5, 90, 200, P::blue());
    icon.fillPie(center, 6.5, 290, 70, P::green());
    icon.eraseLine({center, {9.72, 14.61}}, 1);                   // seam at 290 degrees
    icon.fillPie(center + QPointF(1, -1), 6.5, 0, 90, P::gold()); // the slice pulled out
}

void trends(IconPainter& icon) {
    icon.fillPolygon({{4, 11}, {7, 7.5}, {9.5, 9.5}, {13.5, 4.5}, {13.5, 13}, {4, 13}}, faded(P::blue()));
    icon.strokeLine({{2.5, 2}, {2.5, 13.5}, {14, 13.5}}, 1, P::slate());
    icon.strokeLine({{4, 11}, {7, 7.5}, {9.5, 9.5}, {13.5, 4.5}}, 1.5, P::blue());
    icon.fillEllipse({13.5, 4.5}, 1.5, P::blue());
}

// --- register flags: a filled dot when set; its outline, faded, when hovering shows what a click sets ---

void flagPending(IconPainter& icon) {
    icon.fillEllipse({8, 8}, 4, P::orange());
}
void flagNew(IconPainter& icon) {
    icon.fillEllipse({8, 8}, 4, P::blue());
}
void flagPendingHover(IconPainter& icon) {
    icon.strokeEllipse({8, 8}, 3.25, 1.5, faded(P::orange()));
}
void flagNewHover(IconPainter& icon) {
    icon.strokeEllipse({8, 8}, 3.25, 1.5, faded(P::blue()));
}

struct NamedDrawing {
    const char* name;
    Drawing drawing;
};

constexpr std::array drawings{
    NamedDrawing{"SidebarIconChecking", checking},
    NamedDrawing{"SidebarIconSavings", savings},
    NamedDrawing{"SidebarIconCreditCard", creditCard},
    NamedDrawing{"SidebarIconCash", cash},
    NamedDrawing{"SidebarIconOther", other},
    NamedDrawing{"SidebarIconAllAccounts", allAccounts},
    NamedDrawing{"SidebarGroupTransactions", transactions},
    NamedDrawing{"SidebarGroupCharts", charts},
    NamedDrawing{"SidebarGroupBudgets", budgets},
    NamedDrawing{"SidebarIconScheduled", scheduled},
    NamedDrawing{"SidebarIconBreakdown", breakdown},
    NamedDrawing{"SidebarIconTrends", trends},
    NamedDrawing{"FlagPending", flagPending},
    NamedDrawing{"FlagNew", flagNew},
    NamedDrawing{"FlagPendingHover", flagPendingHover},
    NamedDrawing{"FlagNewHover", flagNewHover},
};

} // namespace

Drawing named(const QString& name) {
    for (const NamedDrawing& entry : drawings) {
        if (name == QLatin1String(entry.name)) {
            return entry.drawing;
        }
    }
    return nullptr;
}

// Keep in step with data/vantrel.svg: same grid, same shapes, same colours.
void applicationIcon(IconPainter& icon) {
    QPainterPath tile;
    tile.addRoundedRect(QRectF(8, 8, 112, 112), 26, 26);
    QLinearGradient background(QPointF(0, 8), QPointF(0, 120));
    background.setColorAt(0, P::brandTop());
    background.setColorAt(1, P::brandBottom());
    icon.fillPath(tile, background);

    const QColor shadow(0, 0, 0, 38);
    icon.fillRect({30, 28, 60, 80}, shadow, 8); // the ledger page
    icon.fillRect({30, 24, 60, 80}, Qt::white, 8);
    icon.fillRect({40, 38, 40, 6}, P::pageLine(), 3);
    icon.fillRect({40, 50, 28, 6}, P::pageLine(), 3);

    icon.strokeLine({{40, 88}, {52, 74}, {62, 82}, {80, 64}}, 7, P::brandBottom()); // rising line
    icon.fillPolygon({{90, 54}, {72, 58}, {86, 72}}, P::brandBottom());

    icon.fillEllipse({92, 97}, 18, QColor(0, 0, 0, 46)); // the coin
    icon.fillEllipse({92, 94}, 18, P::coin());
    icon.strokeEllipse({92, 94}, 12, 3, P::coinRim());
}

} // namespace vantrel::ui::IconDrawings
