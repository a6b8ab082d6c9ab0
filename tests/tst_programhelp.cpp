#include "TestFiles.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using namespace TestFiles;

namespace {

const QStringList Commands = {"upload", "extract-links", "make-posts", "import", "requeue"};

ProgramResult Picaroon(const QStringList &arguments)
{
    return ProgramRun(PICAROON_BIN, arguments).Run();
}

// The long options a help text lists in its Options part.
QStringList LongOptions(const QByteArray &help)
{
    const QString text = QString::fromUtf8(help);
    const QString options = text.mid(text.indexOf("Options:")).section("\n\n", 0, 0);
    QSet<QString> found;
    for (const QRegularExpressionMatch &match : QRegularExpression("(?<![\\w-])--[a-z][a-z-]*").globalMatch(options))
        found.insert(match.captured());
    QStringList sorted = found.values();
    sorted.sort();
    return sorted;
}

QStringList Complete(const QStringList &words)
{
    const QString script = QStringLiteral("source '%1'; COMP_WORDS=('%2'); COMP_CWORD=%3; _picaroon; "
                                          "printf '%s\\n' \"${COMPREPLY[@]}\"")
                               .arg(PICAROON_COMPLETION, words.join("' '"))
                               .arg(words.size() - 1);
    QStringList offered
        = QString::fromUtf8(ProgramRun("bash", {"-c", script}).Run().output).split('\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

}

// Help, the manual page and the shell completion all tell what the
// program takes; an option added to one and not the others is a fault.
class TestProgramHelp : public QObject
{
    Q_OBJECT

private slots:
    void completionAndManualTellWhatHelpLists_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::newRow("the window, its commands, settings and exit statuses") << QStringList();
        for (const QString &command : Commands)
            QTest::newRow(qPrintable(command)) << QStringList{command};
    }

    void completionAndManualTellWhatHelpLists()
    {
        QFETCH(QStringList, command);
        const ProgramResult help = Picaroon(command + QStringList{"--help"});
        QCOMPARE(help.status, 0);
        QStringList wanted = LongOptions(help.output);
        QVERIFY(wanted.contains("--help"));
        const QStringList words = QStringList{"picaroon"} + command;
        QCOMPARE(Complete(words + QStringList{"--"}), wanted);
        // Folders where a folder is asked for.
        QVERIFY(Complete(words + QStringList{"--home", "/"}).contains("/tmp"));

        const QString manual = QString::fromUtf8(Read(PICAROON_MANUAL)).replace("\\-", "-");
        QStringList missing;
        if (command.isEmpty()) {
            QStringList commands = Commands;
            commands.sort();
            QCOMPARE(Complete({"picaroon", ""}), commands);
            wanted += Commands + QStringList{"uploadHost", "imageHost", "account", "timeout", "retryFor", "lastLogin",
                                             "position", "lastFolder", "PICAROON_PASSWORD", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                             "XDG_STATE_HOME"};
            const QString statuses
                = manual.section(QStringLiteral("\n.SH EXIT STATUS"), 1).section(QStringLiteral("\n.SH "), 0, 0);
            for (int status = 0; status <= 7; ++status) {
                if (!statuses.contains(QStringLiteral("\n.B %1\n").arg(status)))
                    missing.append(QStringLiteral("exit status %1").arg(status));
            }
        }
        for (const QString &word : wanted) {
            if (!manual.contains(QRegularExpression("(?<![\\w-])" + QRegularExpression::escape(word) + "(?![\\w-])")))
                missing.append(word);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    }
};

QTEST_GUILESS_MAIN(TestProgramHelp)
#include "tst_programhelp.moc"
