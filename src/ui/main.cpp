#include "platform/InternalError.h"
#include "ui/MainWindow.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setOrganizationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    QApplication::setQuitOnLastWindowClosed(true);

    try {
        vantrel::ui::MainWindow window;
        window.show();
        return QApplication::exec();
    } catch (const vantrel::platform::InternalError& error) {
        // A programming fault: say what happened and stop rather than run on with a broken state.
        std::fprintf(stderr, "Vantrel stopped after an internal error: %s\n", error.what());
        return 70;
    }
}
