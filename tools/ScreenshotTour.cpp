// Opens the application on a generated database and saves screenshots of its main views, so the
// windows can be looked at on a machine without a display (run under xvfb-run by
// scripts/screenshots.sh). Usage: vantrel-screenshots OUTPUT_FOLDER OFX_FILE
#include "BenchHome.h"
#include "app/AppController.h"
#include "app/RegisterViewModel.h"
#include "app/TrendsViewModel.h"
#include "app/WelcomeController.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/DIMonth.h"
#include "model/DIWeek.h"
#include "model/IcuBridge.h"
#include "model/ScheduledItem.h"
#include "planning/BudgetEstimate.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/objectstore/Context.h"
#include "ui/DesktopApplication.h"
#include "ui/ImportBankSheet.h"
#include "ui/PreferencesWindow.h"
#include "ui/ProjectionSheet.h"
#include "ui/RegisterView.h"
#include "ui/TransferSheet.h"
#include "ui/TrendsView.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

using namespace vantrel;

namespace {

bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 20'000);
}

// The whole screen, so a sheet shows over its window as the user sees it.
bool saveScreen(const QString& folder, const QString& name) {
    QTest::qWait(300);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = QDir(folder).filePath(name);
    const bool saved = !shot.isNull() && shot.save(path);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

template <typename Sheet>
Sheet* openedSheet(QWidget& window) {
    Sheet* sheet = nullptr;
    waitFor([&] { return (sheet = window.findChild<Sheet*>()) != nullptr && sheet->isVisible(); });
    return sheet;
}

// Selects the first split transaction of the register and opens the editor on it.
bool editFirstSplitTransaction(ui::RegisterView& view) {
    app::RegisterViewModel* model = view.viewModel();
    for (std::size_t row = 0; model != nullptr && row < model->rowCount(); ++row) {
        if (model->transactionAt(row).splits().size() >= 3) {
            view.selectTransactions({model->transactionAt(row)});
            view.editSelection();
            return view.isEditing();
        }
    }
    return false;
}

// A household's bills and income, due around today, so every group of the list shows.
void addScheduledItems(app::Workspace& workspace) {
    objectstore::Context& context = workspace.context();
    const std::vector<model::Account> accounts = model::Account::allInAccountOrder(context);
    const model::Day today = model::Day::today_VT(workspace.clock());
    struct Plan {
        const char* title;
        const char* amount;
        int dueInDays;
        const char* repeat;
        int interval;
        bool transfer;
    };
    const Plan plans[] = {
        {"Rent", "-1450.00", -1, "Month", 1, false},
        {"Salary", "3820.00", 3, "Month", 1, false},
        {"Electricity", "-86.40", 5, "Month", 1, false},
        {"Gym Membership", "-39.00", 12, "Month", 1, false},
        {"Savings Transfer", "-500.00", 9, "Month", 1, true},
        {"Car Insurance", "-612.00", 45, "Month", 6, false},
        {"Streaming", "-15.99", 20, "Month", 1, false},
        {"Groceries", "-120.00", 2, "Week", 1, false},
        {"Dentist", "-180.00", 64, "", 0, false},
    };
    for (const Plan& plan : plans) {
        model::ScheduledItem item = model::ScheduledItem::insertInContext(context);
        item.setTitle(QString::fromLatin1(plan.title));
        item.setAmount(model::Amount::withString_vt(QString::fromLatin1(plan.amount)));
        item.setAccount(accounts.front().object());
        if (plan.transfer && accounts.size() > 1) {
            item.setToAccount(accounts[1].object());
        }
        item.setNextDueDate(today.advanceDays_VT(plan.dueInDays));
        if (*plan.repeat != '\0') {
            item.setRepeatType(QString::fromLatin1(plan.repeat));
            item.setRepeatInterval(plan.interval);
        }
    }
    workspace.saveDatabase();
}

int tour(const QString& output, const QString& ofxFile) {
    QTemporaryDir home;
    if (!home.isValid() || !QDir().mkpath(output) || !bench::placeDatabase(home.path(), 20'000)) {
        std::fputs("cannot prepare the database\n", stderr);
        return 1;
    }
    const platform::Paths paths = platform::Paths::underRoot(home.path());
    if (!paths.ensureDefaultsFolderExists()) {
        return 1;
    }
    ui::DesktopApplication application(paths, platform::Clock::system(), model::IcuBridge::systemLocaleId());
    application.launch();
    ui::MainWindow& window = application.mainWindow();
    window.resize(1280, 800);
    window.move(40, 30);
    if (!waitFor([&] { return window.isVisible() && window.registerView() != nullptr; })) {
        std::fputs("the main window did not open\n", stderr);
        return 1;
    }
    app::Workspace& workspace = application.welcome().appController()->workspace();
    const model::Account account = model::Account::allInAccountOrder(workspace.context()).front();
    window.selectAccount(account);
    ui::RegisterView& view = *window.registerView();
    if (!view.isBalanceColumnShown()) {
        view.toggleBalanceColumn();
    }
    bool ok = saveScreen(output, QStringLiteral("register.png"));

    ok = editFirstSplitTransaction(view) && saveScreen(output, QStringLiteral("edit-panel.png")) && ok;
    view.commitEditing();

    window.action(ui::MainWindow::Command::ImportFromBank)->trigger();
    if (auto* sheet = openedSheet<ui::ImportBankSheet>(window)) {
        sheet->startWithFile(ofxFile);
        sheet->importButton()->click();
        ok = waitFor([&] {
                 return !sheet->summaryTitleLabel()->text().isEmpty() &&
                        sheet->summaryTitleLabel()->isVisible();
             }) &&
             saveScreen(output, QStringLiteral("import-summary.png")) && ok;
        sheet->doneButton()->click();
    } else {
        ok = false;
    }

    window.action(ui::MainWindow::Command::Transfer)->trigger();
    if (auto* sheet = openedSheet<ui::TransferSheet>(window)) {
        ok = saveScreen(output, QStringLiteral("transfer-sheet.png")) && ok;
        sheet->reject();
    } else {
        ok = false;
    }

    window.showCategoriesPane();
    if (window.preferencesWindow() != nullptr) {
        window.preferencesWindow()->resize(720, 560);
        window.preferencesWindow()->move(300, 120);
        ok = saveScreen(output, QStringLiteral("categories-pane.png")) && ok;
        window.preferencesWindow()->close();
    } else {
        ok = false;
    }

    using Kind = app::SidebarNode::Kind;
    addScheduledItems(workspace);
    window.reloadAllViews();
    window.selectEntry({Kind::Scheduled, std::nullopt});
    ok = saveScreen(output, QStringLiteral("scheduled.png")) && ok;

    window.selectAccount(account);
    window.action(ui::MainWindow::Command::ShowProjection)->trigger();
    if (auto* sheet = openedSheet<ui::ProjectionSheet>(window)) {
        ok = saveScreen(output, QStringLiteral("projection-sheet.png")) && ok;
        sheet->reject();
    } else {
        ok = false;
    }

    const model::Day today = model::Day::today_VT(workspace.clock());
    const model::Budget budget = planning::BudgetEstimate::createBudget(
        workspace.context(), QStringLiteral("This Month"), today.beginningOfMonth_vt(), 1, workspace.clock());
    workspace.saveDatabase();
    window.reloadAllViews();
    window.selectEntry({Kind::Budget, budget.object()->id()});
    ok = saveScreen(output, QStringLiteral("budget.png")) && ok;

    window.selectEntry({Kind::Breakdown, std::nullopt});
    ok = saveScreen(output, QStringLiteral("breakdown.png")) && ok;

    // Balance with income and expense, as a user would tick them.
    window.selectEntry({Kind::Trends, std::nullopt});
    for (const char* series : {"income", "expense"}) {
        window.trendsView()->viewModel().setChecked(QString::fromLatin1(series), true);
    }
    window.trendsView()->reload();
    ok = saveScreen(output, QStringLiteral("trends.png")) && ok;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: vantrel-screenshots OUTPUT_FOLDER OFX_FILE\n", stderr);
        return 2;
    }
    return tour(arguments[1], arguments[2]);
}
