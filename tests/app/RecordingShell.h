#pragma once

#include "app/ApplicationShell.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vantrel::testsupport {

// The desktop as the controllers see it, recording instead of showing. Each call appends its name to
// `calls`, so a test can check what happened and in which order.
class RecordingShell final : public app::ApplicationShell {
public:
    void showWelcome() override { record(QStringLiteral("showWelcome")); }
    void showFirstRunChoices(const app::FirstRunChoices& shown) override {
        record(QStringLiteral("showFirstRunChoices"));
        choices.push_back(shown);
    }
    void showLoading(double fraction) override {
        record(QStringLiteral("showLoading"));
        loadingFractions.push_back(fraction);
    }
    void closeWelcome() override { record(QStringLiteral("closeWelcome")); }
    void showPasswordWindow() override { record(QStringLiteral("showPasswordWindow")); }
    void buildMainWindowViews(const app::MainWindowContent& content) override {
        record(QStringLiteral("buildMainWindowViews"));
        mainWindowContent = content;
    }
    void showMainWindow() override {
        record(QStringLiteral("showMainWindow"));
        mainWindowVisible = true;
    }
    bool isMainWindowVisible() const override { return mainWindowVisible; }
    void bringMainWindowToFront() override {
        record(QStringLiteral("bringMainWindowToFront"));
        mainWindowVisible = true;
    }
    void closeAllWindowsAndHide() override {
        record(QStringLiteral("closeAllWindowsAndHide"));
        mainWindowVisible = false;
    }
    void removeStickyDateMenuItem() override { record(QStringLiteral("removeStickyDateMenuItem")); }
    bool hasApplicationForUrl(const QString& url) const override { return urlsWithHandler.contains(url); }
    void openUrl(const QString& url) override { openedUrls << url; }
    void replyToApplicationShouldTerminate(bool terminate) override { terminateReplies.push_back(terminate); }
    void exitProcess(int status) override {
        record(QStringLiteral("exitProcess"));
        exitStatus = status;
    }

    // Runs on every recorded call, after it was recorded: lets a test look at the controllers
    // at that moment.
    std::function<void(const QString&)> onCall;

    QStringList calls;
    std::vector<app::FirstRunChoices> choices;
    std::vector<double> loadingFractions;
    std::optional<app::MainWindowContent> mainWindowContent;
    bool mainWindowVisible = false;
    QStringList urlsWithHandler;
    QStringList openedUrls;
    std::vector<bool> terminateReplies;
    std::optional<int> exitStatus;

private:
    void record(const QString& name) {
        calls << name;
        if (onCall) {
            onCall(name);
        }
    }
};

} // namespace vantrel::testsupport
