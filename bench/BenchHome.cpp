#include "BenchHome.h"

#include "DatabaseGenerator.h"
#include "platform/Paths.h"
#include "store/DatabaseMetadata.h"

#include <QFile>
#include <QProcess>

namespace vantrel::bench {

bool placeDatabase(const QString& home, std::int64_t transactions) {
    const platform::Paths paths = platform::Paths::underRoot(home);
    if (!paths.ensureDatabaseFolderExists()) {
        return false;
    }
    const QString copy = DatabaseGenerator::scratchCopy(DatabaseGenerator::cachedDatabase(transactions),
                                                        paths.databaseFolder());
    const QString target = paths.databaseFolder() + QStringLiteral("/Database.vantrelsql");
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(copy + suffix) && !QFile::rename(copy + suffix, target + suffix)) {
            return false;
        }
    }
    store::DatabaseMetadata metadata;
    metadata.dataCompatibilityVersion = store::DatabaseMetadata::kCurrentDataCompatibilityVersion;
    metadata.persist(paths.databaseFolder());
    return true;
}

bool runCli(const QString& home, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VANTREL_HOME"), home);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VANTREL_CLI), arguments);
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace vantrel::bench
