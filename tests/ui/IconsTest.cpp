#include "ui/Icons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

using namespace vantrel;

namespace {

const QStringList& allNames() {
    static const QStringList names{
        QStringLiteral("SidebarIconChecking"),
        QStringLiteral("SidebarIconSavings"),
        QStringLiteral("SidebarIconCreditCard"),
        QStringLiteral("SidebarIconCash"),
        QStringLiteral("SidebarIconOther"),
        QStringLiteral("SidebarIconAllAccounts"),
        QStringLiteral("SidebarGroupTransactions"),
        QStringLiteral("SidebarGroupCharts"),
        QStringLiteral("SidebarGroupBudgets"),
        QStringLiteral("SidebarIconScheduled"),
        QStringLiteral("SidebarIconBreakdown"),
        QStringLiteral("SidebarIconTrends"),
        QStringLiteral("FlagPending"),
        QStringLiteral("FlagNew"),
        QStringLiteral("FlagPendingHover"),
        QStringLiteral("FlagNewHover"),
    };
    return names;
}

QImage imageOf(const QIcon& icon, QSize size, qreal pixelRatio = 1.0, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(size, pixelRatio, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage imageOf(const QIcon& icon, int side) {
    return imageOf(icon, QSize(side, side));
}

int coveredPixels(const QImage& image) {
    int covered = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            covered += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return covered;
}

int strongestAlpha(const QImage& image) {
    int strongest = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            strongest = std::max(strongest, qAlpha(image.pixel(x, y)));
        }
    }
    return strongest;
}

// The colour an eye takes in: the coverage-weighted mean of the drawn pixels.
QColor overallColour(const QImage& image) {
    double red = 0, green = 0, blue = 0, weight = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const double alpha = qAlpha(pixel);
            red += qRed(pixel) * alpha;
            green += qGreen(pixel) * alpha;
            blue += qBlue(pixel) * alpha;
            weight += alpha;
        }
    }
    if (weight == 0) {
        return {};
    }
    return QColor(int(red / weight), int(green / weight), int(blue / weight));
}

bool isGrey(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 0 && (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel))) {
                return false;
            }
        }
    }
    return true;
}

void expectColourNear(const QColor& actual, const QColor& expected, int tolerance) {
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << qPrintable(actual.name());
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << qPrintable(actual.name());
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << qPrintable(actual.name());
}

QString dataFile(const QString& name) {
    return QDir::cleanPath(QStringLiteral(VANTREL_TEST_DATA "/../../data/") + name);
}

} // namespace

TEST(Icons, EveryNameDrawsAVisibleShapeAtEachSizeAndPixelRatio) {
    for (const QString& name : allNames()) {
        SCOPED_TRACE(name.toStdString());
        const QIcon icon = ui::namedIcon(name);
        ASSERT_FALSE(icon.isNull());
        for (int side : {16, 22, 32, 48}) {
            const QImage image = imageOf(icon, side);
            ASSERT_EQ(image.size(), QSize(side, side));
            // A real shape, not a speck or a blank square.
            EXPECT_GT(coveredPixels(image), side * side / 8) << side;
            EXPECT_LT(coveredPixels(image), side * side) << side;
            EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << side;
        }
        // On a high-density screen the drawing is made at device resolution, not blown up.
        const QPixmap sharp = icon.pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(sharp.size(), QSize(32, 32));
        EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
        EXPECT_EQ(sharp.toImage().convertToFormat(QImage::Format_ARGB32), imageOf(icon, 32));
    }
}

TEST(Icons, SolidIconsHaveCrispFullyOpaquePixelsAtSixteen) {
    for (const QString& name : allNames()) {
        if (name.endsWith(QLatin1String("Hover"))) {
            continue; // faded on purpose
        }
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(strongestAlpha(imageOf(ui::namedIcon(name), 16)), 255);
    }
}

TEST(Icons, EveryNameLooksDifferentFromEveryOther) {
    for (int side : {16, 32}) {
        std::map<QString, QImage> images;
        for (const QString& name : allNames()) {
            images[name] = imageOf(ui::namedIcon(name), side);
        }
        for (auto first = images.begin(); first != images.end(); ++first) {
            for (auto second = std::next(first); second != images.end(); ++second) {
                EXPECT_NE(first->second, second->second)
                    << qPrintable(first->first) << " vs " << qPrintable(second->first) << " at " << side;
            }
        }
    }
}

TEST(Icons, FlagsAreOrangeForPendingBlueForNewAndTheirHoverFormsAreFadedOutlines) {
    const std::pair<QString, std::pair<int, int>> flags[] = {{QStringLiteral("FlagPending"), {15, 45}},
                                                             {QStringLiteral("FlagNew"), {200, 230}}};
    for (const auto& [name, hueRange] : flags) {
        SCOPED_TRACE(name.toStdString());
        const QImage set = imageOf(ui::namedIcon(name), 32);
        const QImage hover = imageOf(ui::namedIcon(name + QLatin1String("Hover")), 32);
        for (const QImage& image : {set, hover}) {
            const int hue = overallColour(image).hsvHue();
            EXPECT_GE(hue, hueRange.first);
            EXPECT_LE(hue, hueRange.second);
        }
        // Set: a filled dot. Hover: the same dot's outline, hollow and see-through.
        EXPECT_EQ(qAlpha(set.pixel(16, 16)), 255);
        EXPECT_EQ(qAlpha(hover.pixel(16, 16)), 0);
        EXPECT_LT(coveredPixels(hover), coveredPixels(set));
        EXPECT_LT(strongestAlpha(hover), 200);
        EXPECT_GT(strongestAlpha(hover), 60);
    }
}

TEST(Icons, UnknownOrMisspelledNamesGiveANullIcon) {
    for (const QString& name :
         {QString(), QStringLiteral("SidebarIconBrokerage"), QStringLiteral("flagpending"),
          QStringLiteral("FlagNew "), QStringLiteral("lockIcon")}) {
        EXPECT_TRUE(ui::namedIcon(name).isNull()) << qPrintable(name);
    }
}

TEST(Icons, DisabledIconsAreGreyAndFainterAndNonSquareRequestsAreNotStretched) {
    const QIcon icon = ui::namedIcon(QStringLiteral("SidebarIconCreditCard"));
    const QImage normal = imageOf(icon, QSize(32, 32));
    const QImage disabled = imageOf(icon, QSize(32, 32), 1.0, QIcon::Disabled);
    EXPECT_FALSE(isGrey(normal));
    EXPECT_TRUE(isGrey(disabled));
    EXPECT_EQ(coveredPixels(disabled), coveredPixels(normal));
    EXPECT_LT(strongestAlpha(disabled), 128);

    // A wide cell gets the square drawing in its middle: its outer columns stay empty.
    const QImage wide = imageOf(ui::namedIcon(QStringLiteral("FlagNew")), QSize(48, 16));
    ASSERT_EQ(wide.size(), QSize(48, 16));
    EXPECT_EQ(coveredPixels(wide.copy(0, 0, 16, 16)), 0);
    EXPECT_EQ(coveredPixels(wide.copy(32, 0, 16, 16)), 0);
    EXPECT_EQ(wide.copy(16, 0, 16, 16), imageOf(ui::namedIcon(QStringLiteral("FlagNew")), 16));
}

TEST(Icons, PaintingIntoARectDrawsTheSamePixelsAsThePixmap) {
    const QIcon icon = ui::namedIcon(QStringLiteral("SidebarIconScheduled"));
    QImage canvas(QSize(48, 48), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        icon.paint(&painter, QRect(8, 8, 32, 32));
    }
    EXPECT_EQ(coveredPixels(canvas.copy(0, 0, 48, 8)), 0);
    EXPECT_EQ(canvas.copy(8, 8, 32, 32).convertToFormat(QImage::Format_ARGB32), imageOf(icon, 32));
}

TEST(ApplicationIcon, IsARoundedTileInTheColoursOfTheInstalledSvg) {
    QFile svg(dataFile(QStringLiteral("vantrel.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly)) << qPrintable(svg.fileName());
    QXmlStreamReader xml(&svg);
    QStringList stops;
    QString viewBox;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("svg")) {
            viewBox = xml.attributes().value(QLatin1String("viewBox")).toString();
        } else if (xml.name() == QLatin1String("stop")) {
            stops << xml.attributes().value(QLatin1String("stop-color")).toString();
        }
    }
    ASSERT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    EXPECT_EQ(viewBox, QStringLiteral("0 0 128 128"));
    ASSERT_EQ(stops.size(), 2);

    const QIcon icon = ui::applicationIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage image = imageOf(icon, 128);
    // Rounded corners are see-through; the tile runs from the svg's first gradient colour at the top
    // to its second at the bottom.
    EXPECT_EQ(qAlpha(image.pixel(9, 9)), 0);
    EXPECT_EQ(qAlpha(image.pixel(118, 118)), 0);
    expectColourNear(image.pixelColor(64, 9), QColor(stops[0]), 6);
    expectColourNear(image.pixelColor(64, 118), QColor(stops[1]), 6);
    for (int side : {16, 48, 256}) {
        EXPECT_GT(coveredPixels(imageOf(icon, side)), side * side / 2) << side;
    }
}

namespace {

struct DesktopEntry {
    QString firstGroup;
    std::map<QString, QString> keys;
    QStringList problems;
};

DesktopEntry readDesktopEntry(const QString& path) {
    DesktopEntry entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        entry.problems << QStringLiteral("cannot open ") + path;
        return entry;
    }
    bool inFirstGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).chopped(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            inFirstGroup = entry.firstGroup.isEmpty();
            if (inFirstGroup) {
                entry.firstGroup = line;
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || entry.firstGroup.isEmpty()) {
            entry.problems << QStringLiteral("not a key line: ") + line;
            continue;
        }
        if (!inFirstGroup) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        if (!entry.keys.emplace(key, line.mid(equals + 1).trimmed()).second) {
            entry.problems << QStringLiteral("duplicate key: ") + key;
        }
    }
    return entry;
}

} // namespace

TEST(DesktopEntry, LaunchesVantrelWithItsIconAndClaimsVantrel3Links) {
    const DesktopEntry entry = readDesktopEntry(dataFile(QStringLiteral("vantrel.desktop")));
    EXPECT_TRUE(entry.problems.isEmpty()) << qPrintable(entry.problems.join(QLatin1Char('\n')));
    EXPECT_EQ(entry.firstGroup, QStringLiteral("[Desktop Entry]"));
    const std::map<QString, QString> expected{
        {QStringLiteral("Name"), QStringLiteral("Vantrel")},
        {QStringLiteral("GenericName"), QStringLiteral("Personal Finance")},
        {QStringLiteral("Exec"), QStringLiteral("vantrel %u")},
        {QStringLiteral("Icon"), QStringLiteral("vantrel")},
        {QStringLiteral("Terminal"), QStringLiteral("false")},
        {QStringLiteral("Type"), QStringLiteral("Application")},
        {QStringLiteral("Categories"), QStringLiteral("Office;Finance;")},
        {QStringLiteral("MimeType"), QStringLiteral("x-scheme-handler/vantrel3;")},
    };
    for (const auto& [key, value] : expected) {
        const auto found = entry.keys.find(key);
        ASSERT_NE(found, entry.keys.end()) << qPrintable(key);
        EXPECT_EQ(found->second, value) << qPrintable(key);
    }
    for (const char* key : {"Comment", "StartupWMClass"}) {
        EXPECT_FALSE(entry.keys.count(QLatin1String(key)) == 0 || entry.keys.at(QLatin1String(key)).isEmpty())
            << key;
    }
    // The icon theme finds the image by the entry's Icon name.
    EXPECT_TRUE(QFileInfo::exists(dataFile(entry.keys.at(QStringLiteral("Icon")) + QLatin1String(".svg"))));
}

TEST(DesktopEntry, PassesDesktopFileValidateWhereInstalled) {
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty()) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(validator, {dataFile(QStringLiteral("vantrel.desktop"))});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString output = QString::fromUtf8(process.readAll());
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(output);
    EXPECT_TRUE(output.trimmed().isEmpty()) << qPrintable(output);
}

// Run with VANTREL_ICON_SHEET=/some/file.png to look at every icon at every size, on light and dark.
TEST(IconSheet, WritesAContactSheetWhenAsked) {
    const QString path = qEnvironmentVariable("VANTREL_ICON_SHEET");
    if (path.isEmpty()) {
        GTEST_SKIP() << "set VANTREL_ICON_SHEET to a .png path to write the sheet";
    }
    const QList<int> sides{16, 22, 32, 48};
    const int cell = 56;
    const int rowHeight = 56;
    const int columns = int(sides.size()) + 1; // the last column is 16 px at pixel ratio 2
    const int rows = int(allNames().size()) + 3;
    const qreal sheetRatio = 2.0;
    QImage sheet(QSize(2 * columns * cell, rows * rowHeight) * sheetRatio, QImage::Format_ARGB32);
    sheet.setDevicePixelRatio(sheetRatio);
    sheet.fill(QColor(0xf4, 0xf4, 0xf5));
    QPainter painter(&sheet);
    painter.fillRect(QRect(columns * cell, 0, columns * cell, rows * rowHeight), QColor(0x27, 0x27, 0x2a));
    auto place = [&](const QIcon& icon, int row) {
        for (int half = 0; half < 2; ++half) {
            for (int column = 0; column < columns; ++column) {
                const int side = column < sides.size() ? sides[column] : 16;
                const QPointF origin(half * columns * cell + column * cell + (cell - side) / 2.0,
                                     row * rowHeight + (rowHeight - side) / 2.0);
                // Pixel ratio 1 sizes are blown up 2x by the sheet's own ratio, as on a normal screen.
                const qreal ratio = column < sides.size() ? 1.0 : sheetRatio;
                const QPixmap pixmap = icon.pixmap(QSize(side, side), ratio);
                painter.drawPixmap(origin, pixmap);
            }
        }
    };
    for (int row = 0; row < allNames().size(); ++row) {
        place(ui::namedIcon(allNames()[row]), row);
    }
    const QIcon app = ui::applicationIcon();
    place(app, int(allNames().size()));
    painter.drawPixmap(QPointF(8, (allNames().size() + 1) * rowHeight),
                       app.pixmap(QSize(96, 96), sheetRatio));
    painter.drawPixmap(
        QPointF(120, (allNames().size() + 1) * rowHeight),
        ui::namedIcon(QStringLiteral("SidebarIconCreditCard")).pixmap(QSize(32, 32), 1.0, QIcon::Disabled));
    painter.end();
    ASSERT_TRUE(sheet.save(path)) << qPrintable(path);
}
