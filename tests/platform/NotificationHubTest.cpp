#include "platform/NotificationHub.h"

#include "platform/NotificationNames.h"

#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace vantrel::platform {
namespace {

class NotificationHubTest : public ::testing::Test {
protected:
    // Records "tag" each time the observation fires.
    NotificationHub::ObservationId record(const QString& name, QObject* receiver, const QString& tag) {
        return m_hub.observe(name, receiver, [this, tag](const Notification&) { m_heard.append(tag); });
    }

    NotificationHub m_hub;
    QObject m_receiver;
    QStringList m_heard;
};

TEST_F(NotificationHubTest, DeliversToObserversOfThatNameOnlyInTheOrderAdded) {
    QObject sender;
    Notification received;
    record(kCategoriesChanged, &m_receiver, "first");
    m_hub.observe(kCategoriesChanged, &m_receiver, [&received](const Notification& n) { received = n; });
    record(kRefreshAllViews, &m_receiver, "other name");
    record(kCategoriesChanged, &m_receiver, "third");

    m_hub.post(kCategoriesChanged, &sender, {{"status", "idle"}, {"count", 2}});

    EXPECT_EQ(m_heard, QStringList({"first", "third"}));
    EXPECT_EQ(received.name, kCategoriesChanged);
    EXPECT_EQ(received.sender, &sender);
    EXPECT_EQ(received.userInfo, QVariantMap({{"status", "idle"}, {"count", 2}}));
}

TEST_F(NotificationHubTest, ObservationsEndByIdByReceiverOrWhenTheReceiverIsDestroyed) {
    auto doomed = std::make_unique<QObject>();
    QObject other;
    const auto id = record(kRefreshAllViews, &m_receiver, "by id");
    record(kRefreshAllViews, doomed.get(), "destroyed");
    record(kRefreshAllViews, &other, "by receiver");
    record(kRefreshAllViews, &m_receiver, "kept");

    m_hub.removeObservation(id);
    m_hub.removeObservation(id);
    m_hub.removeObserver(&other);
    doomed.reset();
    m_hub.post(kRefreshAllViews);

    EXPECT_EQ(m_heard, QStringList({"kept"}));
    EXPECT_EQ(m_hub.observationCount(), 1);
}

TEST_F(NotificationHubTest, ObservationEndedDuringDeliveryIsSkippedIfNotYetReached) {
    auto doomed = std::make_unique<QObject>();
    NotificationHub::ObservationId removed{};
    NotificationHub::ObservationId self{};
    self = m_hub.observe(kRefreshAllViews, &m_receiver, [&](const Notification&) {
        m_heard.append("ender");
        m_hub.removeObservation(removed);
        m_hub.removeObservation(self);
        doomed.reset();
    });
    removed = record(kRefreshAllViews, &m_receiver, "removed");
    record(kRefreshAllViews, doomed.get(), "destroyed");
    record(kRefreshAllViews, &m_receiver, "last");

    m_hub.post(kRefreshAllViews);
    m_hub.post(kRefreshAllViews);

    EXPECT_EQ(m_heard, QStringList({"ender", "last", "last"}));
}

TEST_F(NotificationHubTest, ObservationAddedDuringDeliveryHearsOnlyLaterPosts) {
    m_hub.observe(kRefreshAllViews, &m_receiver, [this](const Notification&) {
        m_heard.append("adder");
        record(kRefreshAllViews, &m_receiver, "added");
    });

    m_hub.post(kRefreshAllViews);
    m_hub.post(kRefreshAllViews);

    EXPECT_EQ(m_heard, QStringList({"adder", "adder", "added"}));
}

TEST_F(NotificationHubTest, PostingFromAnObserverIsDeliveredAtOnce) {
    m_hub.observe(kCategoriesChanged, &m_receiver, [this](const Notification&) {
        m_heard.append("categories");
        m_hub.post(kRefreshAllViews);
        m_heard.append("categories done");
    });
    record(kRefreshAllViews, &m_receiver, "refresh");

    m_hub.post(kCategoriesChanged);

    EXPECT_EQ(m_heard, QStringList({"categories", "refresh", "categories done"}));
}

TEST_F(NotificationHubTest, ObserverMayDestroyTheHub) {
    auto hub = std::make_unique<NotificationHub>();
    hub->observe(kRefreshAllViews, &m_receiver, [&hub](const Notification&) { hub.reset(); });
    hub->observe(kRefreshAllViews, &m_receiver, [this](const Notification&) { m_heard.append("after"); });

    hub->post(kRefreshAllViews);

    EXPECT_TRUE(m_heard.isEmpty());
}

TEST_F(NotificationHubTest, DeliveryRunsOnThePostingThreadBeforePostReturns) {
    QThread* deliveredOn = nullptr;
    m_hub.observe(kSyncStatusChanged, &m_receiver,
                  [&deliveredOn](const Notification&) { deliveredOn = QThread::currentThread(); });

    bool deliveredFirst = false;
    std::thread poster([&] {
        m_hub.post(kSyncStatusChanged);
        deliveredFirst = deliveredOn == QThread::currentThread();
    });
    poster.join();

    EXPECT_TRUE(deliveredFirst);
}

} // namespace
} // namespace vantrel::platform
