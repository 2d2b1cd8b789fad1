// Runs the vantrel-cli binary through the scenarios in golden/*.golden and compares what it prints.
//
// A golden file is a sequence of steps, run in order in fresh temporary homes (one pair per file):
//
//   # a comment, kept when the file is rewritten
//   $ vantrel-cli add --account Checking --date 2024-03-01 --amount -12.5 --payee "Corner Shop"
//   > <a line of standard output>
//   ! <a line of standard error>
//   ? 0                                   (the exit status)
//
// Commands run with VANTREL_HOME set to $HOME, a fixed VANTREL_CLI_NOW, TZ=UTC and LANG=en_US.UTF-8.
// In a command, $HOME and $HOME2 name the two homes ("--home $HOME2" runs in the second one), $DATA
// is the test data folder (tests/data) and $LAST_STDOUT is the previous step's standard output
// without its final line break; leading NAME=VALUE words set environment variables for that step
// ("VANTREL_CLI_NOW=... vantrel-cli ..." runs it at another time). In the output, the data folder
// is written $DATA,
// the homes are written $HOME and $HOME2, and every UUID becomes <ID1>, <ID2>, ... in order of first
// appearance in the file, so equal cloudIDs stay visibly equal without random text in the files.
//
// VANTREL_UPDATE_GOLDEN=1 rewrites the files from what the binary printed. Review every change by
// hand: a golden file states what is right, not what the code happened to print.
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

constexpr auto kNow = "2024-03-05T12:00:00Z";

struct Step {
    QStringList comments;
    QString command;
    QStringList stdoutLines;
    QStringList stderrLines;
    int exitStatus = 0;
};

QString goldenFolder() {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/golden");
}

std::vector<Step> readSteps(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    std::vector<Step> steps;
    QStringList comments;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'#')) {
            comments.append(line);
        } else if (line.startsWith(QStringLiteral("$ "))) {
            steps.push_back(Step{comments, line.mid(2), {}, {}, 0});
            comments.clear();
        } else if (!steps.empty() && line.startsWith(u'>')) {
            steps.back().stdoutLines.append(line.mid(2));
        } else if (!steps.empty() && line.startsWith(u'!')) {
            steps.back().stderrLines.append(line.mid(2));
        } else if (!steps.empty() && line.startsWith(QStringLiteral("? "))) {
            steps.back().exitStatus = line.mid(2).toInt();
        } else if (!line.trimmed().isEmpty()) {
            ADD_FAILURE() << "unreadable line in " << path.toStdString() << ": " << line.toStdString();
        }
    }
    return steps;
}

QString render(const std::vector<Step>& steps) {
    QStringList lines;
    for (const Step& step : steps) {
        lines.append(step.comments);
        lines.append(QStringLiteral("$ ") + step.command);
        for (const QString& line : step.stdoutLines) {
            lines.append(line.isEmpty() ? QStringLiteral(">") : QStringLiteral("> ") + line);
        }
        for (const QString& line : step.stderrLines) {
            lines.append(line.isEmpty() ? QStringLiteral("!") : QStringLiteral("! ") + line);
        }
        lines.append(QStringLiteral("? %1").arg(step.exitStatus));
        lines.append(QString());
    }
    return lines.join(u'\n');
}

// Words separated by spaces; double quotes group words ("Corner Shop") and may be empty ("").
QStringList splitCommand(const QString& command) {
    QStringList words;
    QString word;
    bool quoted = false;
    bool hasWord = false;
    for (const QChar c : command) {
        if (c == u'"') {
            quoted = !quoted;
            hasWord = true;
        } else if (c == u' ' && !quoted) {
            if (hasWord) {
                words.append(word);
            }
            word.clear();
            hasWord = false;
        } else {
            word.append(c);
            hasWord = true;
        }
    }
    if (hasWord) {
        words.append(word);
    }
    return words;
}

struct CliRun {
    QString out;
    QString err;
    int exitStatus = -1;
};

CliRun runCli(const QStringList& arguments, const QString& home,
              const QMap<QString, QString>& overrides = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"LC_ALL", "LC_NUMERIC", "LC_MONETARY", "LC_TIME", "LANGUAGE", "VANTREL_CLI_NOW"}) {
        environment.remove(QString::fromLatin1(name));
    }
    environment.insert(QStringLiteral("VANTREL_HOME"), home);
    environment.insert(QStringLiteral("VANTREL_CLI_NOW"), QString::fromLatin1(kNow));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    for (auto it = overrides.begin(); it != overrides.end(); ++it) {
        environment.insert(it.key(), it.value());
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VANTREL_CLI), arguments);
    CliRun run;
    if (!process.waitForFinished(60'000)) {
        ADD_FAILURE() << "vantrel-cli did not finish: " << arguments.join(u' ').toStdString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    run.exitStatus = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

QStringList linesOf(QString text) {
    if (text.endsWith(u'\n')) {
        text.chop(1);
    }
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

// Puts the homes' names and numbered ids in place of what changes from run to run.
class Normaliser {
public:
    Normaliser(QString home, QString home2)
        : m_home(std::move(home))
        , m_home2(std::move(home2)) {}

    QString operator()(QString text) {
        text.replace(QStringLiteral(VANTREL_TEST_DATA), QStringLiteral("$DATA"));
        text.replace(m_home2, QStringLiteral("$HOME2"));
        text.replace(m_home, QStringLiteral("$HOME"));
        static const QRegularExpression uuid(
            QStringLiteral("[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}"));
        QString result;
        qsizetype last = 0;
        auto it = uuid.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const QString id = match.captured().toUpper();
            if (!m_ids.contains(id)) {
                m_ids.insert(id, m_ids.size() + 1);
            }
            result +=
                text.mid(last, match.capturedStart() - last) + QStringLiteral("<ID%1>").arg(m_ids.value(id));
            last = match.capturedEnd();
        }
        return result + text.mid(last);
    }

private:
    QString m_home;
    QString m_home2;
    QMap<QString, int> m_ids;
};

class GoldenScenario : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenScenario, PrintsWhatTheFileExpects) {
    const QString path = goldenFolder() + u'/' + QString::fromStdString(GetParam());
    const std::vector<Step> expected = readSteps(path);
    ASSERT_FALSE(expected.empty()) << "no steps in " << path.toStdString();

    QTemporaryDir homes;
    ASSERT_TRUE(homes.isValid());
    const QString home = homes.filePath(QStringLiteral("home"));
    const QString home2 = homes.filePath(QStringLiteral("other"));
    Normaliser normalise(home, home2);

    std::vector<Step> actual;
    QString lastStdout;
    for (const Step& step : expected) {
        QStringList words = splitCommand(step.command);
        QMap<QString, QString> overrides;
        static const QRegularExpression assignment(QStringLiteral("^([A-Z_]+)=(.*)$"));
        while (!words.isEmpty()) {
            const QRegularExpressionMatch match = assignment.match(words.first());
            if (!match.hasMatch()) {
                break;
            }
            overrides.insert(match.captured(1), match.captured(2));
            words.removeFirst();
        }
        ASSERT_FALSE(words.isEmpty());
        ASSERT_EQ(words.takeFirst(), QStringLiteral("vantrel-cli")) << step.command.toStdString();
        for (QString& word : words) {
            word.replace(QStringLiteral("$LAST_STDOUT"), lastStdout);
            word.replace(QStringLiteral("$HOME2"), home2);
            word.replace(QStringLiteral("$HOME"), home);
            word.replace(QStringLiteral("$DATA"), QStringLiteral(VANTREL_TEST_DATA));
        }
        const CliRun run = runCli(words, home, overrides);
        lastStdout = run.out.endsWith(u'\n') ? run.out.chopped(1) : run.out;
        actual.push_back(Step{step.comments, step.command, linesOf(normalise(run.out)),
                              linesOf(normalise(run.err)), run.exitStatus});
    }

    if (qEnvironmentVariable("VANTREL_UPDATE_GOLDEN") == u"1") {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
        file.write(render(actual).toUtf8());
        return;
    }
    EXPECT_EQ(render(expected).toStdString(), render(actual).toStdString());
}

std::vector<std::string> goldenFiles() {
    std::vector<std::string> names;
    for (const QString& name :
         QDir(goldenFolder()).entryList({QStringLiteral("*.golden")}, QDir::Files, QDir::Name)) {
        names.push_back(name.toStdString());
    }
    return names;
}

INSTANTIATE_TEST_SUITE_P(Cli, GoldenScenario, ::testing::ValuesIn(goldenFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

// A second copy must not touch the files while another holds the lock: every command that opens,
// creates or restores a database stops with the message of the store controller.
TEST(CliSecondCopy, RefusesWhileAnotherCopyHoldsTheLock) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString home = root.filePath(QStringLiteral("home"));
    const QString fresh = root.filePath(QStringLiteral("fresh"));
    ASSERT_EQ(runCli({QStringLiteral("init"), QStringLiteral("--currency"), QStringLiteral("USD")}, home)
                  .exitStatus,
              0);
    const CliRun backup = runCli({QStringLiteral("backup"), QStringLiteral("--force")}, home);
    ASSERT_EQ(backup.exitStatus, 0) << backup.err.toStdString();

    const vantrel::platform::Paths homePaths = vantrel::platform::Paths::underRoot(home);
    const vantrel::platform::Paths freshPaths = vantrel::platform::Paths::underRoot(fresh);
    ASSERT_TRUE(freshPaths.ensureApplicationSupportFolderExists());
    QLockFile homeLock(homePaths.lockFile());
    QLockFile freshLock(freshPaths.lockFile());
    ASSERT_TRUE(homeLock.tryLock(0));
    ASSERT_TRUE(freshLock.tryLock(0));

    const QString message = QStringLiteral("Another copy of Vantrel is already running.\n");
    const CliRun accounts = runCli({QStringLiteral("accounts")}, home);
    EXPECT_EQ(accounts.exitStatus, 1);
    EXPECT_EQ(accounts.err, message);
    EXPECT_TRUE(accounts.out.isEmpty());

    const CliRun add = runCli({QStringLiteral("account"), QStringLiteral("add"), QStringLiteral("Savings"),
                               QStringLiteral("--type"), QStringLiteral("savings")},
                              home);
    EXPECT_EQ(add.exitStatus, 1);
    EXPECT_EQ(add.err, message);

    const CliRun init = runCli({QStringLiteral("init")}, fresh);
    EXPECT_EQ(init.exitStatus, 1);
    EXPECT_EQ(init.err, message);
    EXPECT_FALSE(QFileInfo::exists(freshPaths.databaseFolder() + QStringLiteral("/Database.vantrelsql")));

    const CliRun restore = runCli({QStringLiteral("restore"), backup.out.trimmed()}, fresh);
    EXPECT_EQ(restore.exitStatus, 1);
    EXPECT_EQ(restore.err, message);
    EXPECT_FALSE(QFileInfo::exists(freshPaths.databaseFolder() + QStringLiteral("/Database.vantrelsql")));

    // Once the other copy has gone, the same commands work.
    homeLock.unlock();
    const CliRun after = runCli({QStringLiteral("account"), QStringLiteral("add"), QStringLiteral("Savings"),
                                 QStringLiteral("--type"), QStringLiteral("savings")},
                                home);
    EXPECT_EQ(after.exitStatus, 0) << after.err.toStdString();
}

} // namespace
