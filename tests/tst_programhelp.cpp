#include "TestFiles.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using namespace TestFiles;

namespace {

const QStringList Commands = {"upload", "extract-links", "make-posts", "import", "requeue"};

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
        const ProgramResult help = ProgramRun(PICAROON_BIN, command + QStringList{"--help"}).Run();
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
            wanted += Commands + QStringList{"uploadHost",    "imageHost",     "account",           "timeout",
                                             "retryFor",      "connections",   "keepLocation",      "lastLogin",
                                             "position",      "lastFolder",    "PICAROON_PASSWORD", "XDG_CONFIG_HOME",
                                             "XDG_DATA_HOME", "XDG_STATE_HOME"};
            const QString statuses
                = manual.section(QStringLiteral("\n.SH EXIT STATUS"), 1).section(QStringLiteral("\n.SH "), 0, 0);
            for (int status = 0; status <= 7; ++status) {
                if (!statuses.contains(QStringLiteral("\n.B %1\n").arg(status)))
                    missing.append(QStringLiteral("exit status %1").arg(status));
            }
        }
        const QString russian = QString::fromUtf8(Read(PICAROON_MANUAL_RU)).replace("\\-", "-");
        for (const QString &word : wanted) {
            const QRegularExpression whole("(?<![\\w-])" + QRegularExpression::escape(word) + "(?![\\w-])");
            if (!manual.contains(whole))
                missing.append(word);
            if (!russian.contains(whole))
                missing.append(word + " (ru)");
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    }

    // The commands speak the terminal's language; the status texts scripts
    // read stay as they are in both.
    void commandsSpeakTheTerminalsLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("help");
        QTest::addColumn<QString>("wrongUse");
        QTest::addColumn<QString>("badHost");
        QTest::newRow("C: English") << "C" << QStringList {"Usage:", "Options:", "Shows this help."}
                                    << "unknown command"
                                    << "a host address cannot hold spaces";
        QTest::newRow("ru_RU: Russian") << "ru_RU.UTF-8"
                                        << QStringList {"Использование:", "Параметры:", "Показывает эту справку."}
                                        << "неизвестная команда"
                                        << "в адресе хоста не может быть пробелов";
    }

    void commandsSpeakTheTerminalsLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, help);
        QFETCH(QString, wrongUse);
        QFETCH(QString, badHost);
        const auto run = [&](const QStringList &arguments) {
            return ProgramRun(PICAROON_BIN, arguments).Set("LC_ALL", locale).Set("PICAROON_PASSWORD", "x").Run();
        };
        const QString shown = QString::fromUtf8(run({"--help"}).output);
        for (const QString &text : help)
            QVERIFY2(shown.contains(text), qPrintable(shown));
        QVERIFY(QString::fromUtf8(run({"frobnicate", "--help"}).errors).contains(wrongUse));
        const ProgramResult upload = run({"upload", "--login", "m", "--host", "a b"});
        QCOMPARE(upload.status, 2);
        QVERIFY2(QString::fromUtf8(upload.errors).contains(badHost), upload.errors.constData());
    }
};

QTEST_GUILESS_MAIN(TestProgramHelp)
#include "tst_programhelp.moc"
