#include "platform/Log.h"

#include "platform/Clock.h"
#include "platform/LogCapture.h"
#include "platform/StreamLogSink.h"

#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <thread>

namespace vantrel::platform {
namespace {

TEST(LogCaptureTest, KeepsLinesVerbatimAndInOrder) {
    const LogCapture capture;
    const QStringList lines{"Initializing Global.currencies with data from Currencies plist", "  spaced  ",
                            "ünïcödé € 😀", ""};

    for (const QString& line : lines) {
        Log::write(line);
    }

    EXPECT_EQ(capture.lines(), lines);
}

TEST(LogCaptureTest, InnerCaptureTakesLinesOnlyWhileItLives) {
    const LogCapture outer;
    Log::write("one");
    {
        const LogCapture inner;
        Log::write("two");
        EXPECT_EQ(inner.lines(), QStringList({"two"}));
    }
    Log::write("three");

    EXPECT_EQ(outer.lines(), QStringList({"one", "three"}));
}

TEST(LogCaptureTest, CapturesMayEndInAnyOrder) {
    const LogCapture base;
    auto middle = std::make_unique<LogCapture>();
    auto top = std::make_unique<LogCapture>();

    middle.reset();
    top.reset();
    Log::write("to base");

    EXPECT_EQ(base.lines(), QStringList({"to base"}));
}

TEST(LogCaptureTest, LinesFromTwoThreadsArriveWholeAndInEachThreadsOrder) {
    constexpr int kLinesPerThread = 2000;
    const LogCapture capture;
    const auto writeLines = [](const QString& prefix) {
        for (int i = 0; i < kLinesPerThread; ++i) {
            Log::write(prefix + ' ' + QString::number(i));
        }
    };

    std::thread first(writeLines, QStringLiteral("first"));
    std::thread second(writeLines, QStringLiteral("second"));
    first.join();
    second.join();

    QMap<QString, int> next;
    for (const QString& line : capture.lines()) {
        const QString prefix = line.section(' ', 0, 0);
        ASSERT_EQ(line, prefix + ' ' + QString::number(next[prefix]++));
    }
    EXPECT_EQ(next, (QMap<QString, int>{{"first", kLinesPerThread}, {"second", kLinesPerThread}}));
}

TEST(StreamLogSinkTest, PrefixesEachLineWithTheLocalTimeAndEndsIt) {
    const FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(13, 7, 9, 250), Qt::UTC),
                           QTimeZone("Europe/Berlin"));
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::tmpfile(), &std::fclose);
    ASSERT_NE(stream, nullptr);
    StreamLogSink sink(stream.get(), clock);

    sink.write("Initializing Global.currencies with data from Currencies plist");
    sink.write("€ 😀");

    std::rewind(stream.get());
    QFile written;
    ASSERT_TRUE(written.open(stream.get(), QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()),
              "2024-03-05T14:07:09.250+01:00 Initializing Global.currencies with data from Currencies plist\n"
              "2024-03-05T14:07:09.250+01:00 € 😀\n");
}

} // namespace
} // namespace vantrel::platform
