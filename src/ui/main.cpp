#include "model/IcuBridge.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/Paths.h"
#include "ui/DesktopApplication.h"
#include "ui/Icons.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

using namespace vantrel;

namespace {

int run() {
    const platform::Paths paths = platform::Paths::fromEnvironment();
    if (!paths.ensureDefaultsFolderExists()) {
        std::fprintf(stderr, "Vantrel cannot create its settings folder %s\n",
                     qPrintable(paths.defaultsFolder()));
        return 1;
    }
    ui::DesktopApplication application(paths, platform::Clock::system(), model::IcuBridge::systemLocaleId());
    QStringList arguments = QCoreApplication::arguments().mid(1);
    // For the start-up benchmark: report when the register first shows rows, then leave.
    if (arguments.removeAll(QStringLiteral("--report-first-paint")) > 0) {
        application.mainWindow().setFirstRegisterPaintHandler([] {
            std::fputs("first-register-paint\n", stdout);
            std::fflush(stdout);
            std::_Exit(0);
        });
    }
    application.launch(arguments);
    if (application.shell().exitStatus()) {
        return *application.shell().exitStatus();
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setOrganizationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vantrel"));
    QApplication::setWindowIcon(ui::applicationIcon());
    // The application decides when it quits: see DesktopApplication::requestQuit.
    QApplication::setQuitOnLastWindowClosed(false);

    try {
        return run();
    } catch (const platform::InternalError& error) {
        // A programming fault: say what happened and stop rather than run on with a broken state.
        std::fprintf(stderr, "Vantrel stopped after an internal error: %s\n", error.what());
        return 70;
    }
}
