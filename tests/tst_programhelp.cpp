#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

const QStringList Commands = {"upload", "extract-links", "make-posts", "import", "requeue"};

// The long options a help text lists in its Options part.
QSet<QString> LongOptions(const QByteArray &help)
{
    const QString text = QString::fromUtf8(help);
    const QString options = text.mid(text.indexOf("Options:")).section("\n\n", 0, 0);
    QSet<QString> found;
    for (const QRegularExpressionMatch &match : QRegularExpression("(?<![\\w-])--[a-z][a-z-]*").globalMatch(options))
        found.insert(match.captured());
    return found;
}

}

// Help, the manual page and the shell completion all tell what the
// program takes; an option added to one and not the others is a fault.
class TestProgramHelp : public QObject
{
    Q_OBJECT

private slots:
    void helpAndVersionGoToStandardOutput_data();
    void helpAndVersionGoToStandardOutput();
    void wrongUsageGoesToStandardError_data();
    void wrongUsageGoesToStandardError();
    void completionOffersWhatHelpLists_data();
    void completionOffersWhatHelpLists();
    void manualTellsEveryCommandOptionSettingAndStatus();

private:
    int Run(const QStringList &arguments);
    QStringList Complete(const QStringList &words);

    QByteArray m_output;
    QByteArray m_errors;
};

int TestProgramHelp::Run(const QStringList &arguments)
{
    QProcess process;
    process.start(PICAROON_BIN, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    m_output = process.readAllStandardOutput();
    m_errors = process.readAllStandardError();
    return process.exitCode();
}

QStringList TestProgramHelp::Complete(const QStringList &words)
{
    QProcess bash;
    QStringList quoted;
    for (const QString &word : words)
        quoted.append("'" + word + "'");
    bash.start("bash", {"-c", QStringLiteral("source '%1'; COMP_WORDS=(%2); COMP_CWORD=%3; _picaroon; "
                                             "printf '%s\\n' \"${COMPREPLY[@]}\"")
                                  .arg(PICAROON_COMPLETION, quoted.join(' '))
                                  .arg(words.size() - 1)});
    if (!bash.waitForFinished(30000))
        return {};
    QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

void TestProgramHelp::helpAndVersionGoToStandardOutput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("begins");
    QTest::newRow("--help") << QStringList{"--help"} << "Usage: picaroon [--home DIR]";
    QTest::newRow("-h") << QStringList{"-h"} << "Usage: picaroon [--home DIR]";
    QTest::newRow("--version") << QStringList{"--version"} << "picaroon 1.";
    // Without --login and with no input: help needs neither.
    QTest::newRow("upload --help") << QStringList{"upload", "--help"} << "Usage: picaroon upload ";
    QTest::newRow("import -h, no folder") << QStringList{"import", "-h"} << "Usage: picaroon import FOLDER";
    for (const QString command : {"extract-links", "make-posts", "requeue"})
        QTest::newRow(qPrintable(command + " --help"))
            << QStringList{command, "--help"} << "Usage: picaroon " + command;
}

void TestProgramHelp::helpAndVersionGoToStandardOutput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, begins);
    QCOMPARE(Run(arguments), 0);
    QVERIFY2(m_output.startsWith(begins.toUtf8()), m_output.constData());
    QVERIFY2(m_errors.isEmpty(), m_errors.constData());
}

void TestProgramHelp::wrongUsageGoesToStandardError_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{"--bogus"};
    QTest::newRow("unknown command") << QStringList{"download"};
    QTest::newRow("a command's unknown option, help asked too") << QStringList{"upload", "--bogus", "--help"};
    QTest::newRow("the version is the program's, not a command's") << QStringList{"requeue", "--version"};
    QTest::newRow("an override that does not check") << QStringList{"--timeout", "soon"};
}

void TestProgramHelp::wrongUsageGoesToStandardError()
{
    QFETCH(QStringList, arguments);
    QCOMPARE(Run(arguments), 2);
    QVERIFY(m_output.isEmpty());
    QVERIFY2(m_errors.contains("\nusage: picaroon [--home DIR]"), m_errors.constData());
}

void TestProgramHelp::completionOffersWhatHelpLists_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("the window") << QString();
    for (const QString &command : Commands)
        QTest::newRow(qPrintable(command)) << command;
}

void TestProgramHelp::completionOffersWhatHelpLists()
{
    QFETCH(QString, command);
    QStringList arguments{"--help"};
    if (!command.isEmpty())
        arguments.prepend(command);
    QCOMPARE(Run(arguments), 0);
    QStringList listed = LongOptions(m_output).values();
    listed.sort();
    QVERIFY(listed.contains("--help"));

    QStringList words{"picaroon"};
    if (!command.isEmpty())
        words.append(command);
    QCOMPARE(Complete(words + QStringList{"--"}), listed);
    if (command.isEmpty()) {
        QStringList commands = Commands;
        commands.sort();
        QCOMPARE(Complete({"picaroon", ""}), commands);
        QCOMPARE(Complete({"picaroon", "ma"}), QStringList{"make-posts"});
    }
    // Folders where a folder is asked for.
    QVERIFY(Complete(words + QStringList{"--home", "/"}).contains("/tmp"));
}

void TestProgramHelp::manualTellsEveryCommandOptionSettingAndStatus()
{
    QFile file(PICAROON_MANUAL);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(file.readAll()).replace("\\-", "-");
    QStringList missing;
    QStringList wanted = Commands;
    for (const QStringList &arguments :
         {QStringList{"--help"}, {"upload", "--help"}, {"extract-links", "--help"}, {"make-posts", "--help"}}) {
        QCOMPARE(Run(arguments), 0);
        wanted += LongOptions(m_output).values();
    }
    wanted += {"uploadHost", "imageHost", "account", "timeout", "lastLogin", "position", "lastFolder",
               "PICAROON_PASSWORD", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"};
    for (const QString &word : wanted) {
        if (!manual.contains(QRegularExpression("(?<![\\w-])" + QRegularExpression::escape(word) + "(?![\\w-])")))
            missing.append(word);
    }
    const QString statuses = manual.section(QStringLiteral("\n.SH EXIT STATUS"), 1).section(QStringLiteral("\n.SH "), 0, 0);
    for (int status = 0; status <= 6; ++status) {
        if (!statuses.contains(QStringLiteral("\n.B %1\n").arg(status)))
            missing.append(QStringLiteral("exit status %1").arg(status));
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}

QTEST_GUILESS_MAIN(TestProgramHelp)
#include "tst_programhelp.moc"
