#include "platform/QtHttpClient.h"

#include "support/EventLoopWait.h"
#include "support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using vantrel::platform::HttpClient;
using vantrel::platform::QtHttpClient;
using vantrel::testsupport::LoopbackHttpServer;
using vantrel::testsupport::waitUntil;

namespace {

using namespace std::chrono_literals;

class QtHttpClientTest : public ::testing::Test {
protected:
    // Waits for the one completion a request must produce.
    HttpClient::Response fetch(const QUrl& url, std::chrono::milliseconds timeout = 10s) {
        std::optional<HttpClient::Response> answer;
        int calls = 0;
        client.get(url, timeout, [&](const HttpClient::Response& response) {
            answer = response;
            ++calls;
        });
        EXPECT_TRUE(waitUntil([&] { return answer.has_value(); }));
        // A second completion would show up while the loop keeps running.
        waitUntil([] { return false; }, 100ms);
        EXPECT_EQ(calls, 1);
        return answer.value_or(HttpClient::Response{});
    }

    LoopbackHttpServer server;
    QtHttpClient client;
};

TEST_F(QtHttpClientTest, DeliversTheStatusAndBodyOfTheAnswer) {
    server.enqueueOk("the body");
    QUrl url = server.baseUrl();
    url.setPath(QStringLiteral("/currencies.plist"));
    url.setQuery(QStringLiteral("token=a%26b"));

    const HttpClient::Response response = fetch(url);

    EXPECT_FALSE(response.failed()) << response.error.toStdString();
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, QByteArray("the body"));
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests().front().method, QByteArray("GET"));
    EXPECT_EQ(server.requests().front().target, QByteArray("/currencies.plist?token=a%26b"));
}

TEST_F(QtHttpClientTest, AnErrorStatusIsAnAnswerNotAFailure) {
    server.enqueue({503, "try later", "text/plain"});

    const HttpClient::Response response = fetch(server.baseUrl());

    EXPECT_FALSE(response.failed());
    EXPECT_EQ(response.status, 503);
    EXPECT_EQ(response.body, QByteArray("try later"));
}

TEST_F(QtHttpClientTest, AServerThatNeverAnswersTimesOut) {
    LoopbackHttpServer::Reply silence;
    silence.hang = true;
    server.enqueue(silence);

    const HttpClient::Response response = fetch(server.baseUrl(), 300ms);

    EXPECT_TRUE(response.failed());
    EXPECT_EQ(response.error, QtHttpClient::timeoutDescription());
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(QtHttpClientTest, ARefusedConnectionFails) {
    QUrl closedPort;
    {
        LoopbackHttpServer gone;
        closedPort = gone.baseUrl();
    }

    const HttpClient::Response response = fetch(closedPort);

    EXPECT_TRUE(response.failed());
    EXPECT_EQ(response.status, 0);
    EXPECT_NE(response.error, QtHttpClient::timeoutDescription());
}

TEST_F(QtHttpClientTest, ADestroyedClientCallsNoCompletion) {
    LoopbackHttpServer::Reply silence;
    silence.hang = true;
    server.enqueue(silence);
    bool called = false;
    {
        QtHttpClient shortLived;
        shortLived.get(server.baseUrl(), 200ms, [&](const HttpClient::Response&) { called = true; });
        ASSERT_TRUE(waitUntil([&] { return !server.requests().empty(); }));
    }
    waitUntil([] { return false; }, 400ms);
    EXPECT_FALSE(called);
}

} // namespace
