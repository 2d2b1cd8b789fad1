#include "cli/CliApplication.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
    QCoreApplication::setOrganizationName(QStringLiteral("Vantrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return vantrel::cli::CliApplication(QStringLiteral(VANTREL_VERSION)).run(arguments);
}
