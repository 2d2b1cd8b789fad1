#include "app/ApplicationBadge.h"

#include "support/ModelValues.h"

#include <gtest/gtest.h>

using namespace vantrel;
using app::ApplicationBadge;
using testsupport::utf8;

namespace {

TEST(ApplicationBadge, CountGoesToTheDockWhereOneReadsItElseToTheTitle) {
    EXPECT_TRUE(ApplicationBadge::desktopShowsLauncherCounts(QStringLiteral("KDE")));
    EXPECT_TRUE(ApplicationBadge::desktopShowsLauncherCounts(QStringLiteral("ubuntu:GNOME")));
    EXPECT_TRUE(ApplicationBadge::desktopShowsLauncherCounts(QStringLiteral("Budgie:GNOME")));
    EXPECT_FALSE(ApplicationBadge::desktopShowsLauncherCounts(QStringLiteral("GNOME")));
    EXPECT_FALSE(ApplicationBadge::desktopShowsLauncherCounts(QStringLiteral("XFCE")));
    EXPECT_FALSE(ApplicationBadge::desktopShowsLauncherCounts(QString()));
    // A name only containing a supported one is another desktop.
    EXPECT_FALSE(ApplicationBadge::desktopShowsLauncherCounts(QStringLiteral("KDEish")));

    EXPECT_EQ(utf8(ApplicationBadge::badgeText(0)), "");
    EXPECT_EQ(utf8(ApplicationBadge::badgeText(12)), "12");
    EXPECT_EQ(utf8(ApplicationBadge::windowTitle(3, true)), "Vantrel (3)");
    EXPECT_EQ(utf8(ApplicationBadge::windowTitle(0, true)), "Vantrel");
    EXPECT_EQ(utf8(ApplicationBadge::windowTitle(3, false)), "Vantrel");
}

} // namespace
