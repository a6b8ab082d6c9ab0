#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

// Files and programs as the tests meet them: real files on disk, real
// processes with their own standard streams.
namespace TestFiles {

// What Read gives for a path that holds no file.
inline const QByteArray Missing = "(no file)";

// Makes the folders above the file when they are missing; a picture's
// first bytes when none are given.
bool Write(const QString &path, const QByteArray &bytes = QByteArray("\xFF\xD8jpeg"));
QByteArray Read(const QString &path);
// The bytes of each plain file in the folder (never a FIFO), names aside.
QSet<QByteArray> Contents(const QString &folder);

struct ProgramResult
{
    // The exit status; -1 when the program crashed or did not end in time.
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

// One run of a program, set up a call at a time:
//   ProgramRun(PICAROON_BIN, {"upload"}).Input("secret\n").Set("HOME", home).Run()
class ProgramRun
{
public:
    ProgramRun(const QString &program, const QStringList &arguments) : m_program(program), m_arguments(arguments) {}

    // Written to standard input, which is then closed.
    ProgramRun &Input(const QByteArray &bytes) { return m_input = bytes, *this; }
    // Standard input read from this file (a folder, a FIFO...) instead.
    ProgramRun &InputFile(const QString &path) { return m_inputFile = path, *this; }
    // Standard output written to this file (/dev/full, say) instead of collected.
    ProgramRun &OutputFile(const QString &path) { return m_outputFile = path, *this; }
    // Starts from the test's own environment.
    ProgramRun &Set(const QString &name, const QString &value) { return m_environment.insert(name, value), *this; }
    ProgramRun &Unset(const QString &name) { return m_environment.remove(name), *this; }
    // Run sends the signal (none when 0) while the program is held at its
    // nth fsync of a file whose path holds namePart.
    ProgramRun &SignalAtSync(const QString &namePart, int nth, int signal);

    ProgramResult Run(int timeoutMs = 60000) const;
    // Started and left running, for a test that acts while it runs; Finish
    // then waits for its end.
    std::unique_ptr<QProcess> Start() const;
    static ProgramResult Finish(QProcess &process, int timeoutMs = 60000);

private:
    QString m_program;
    QStringList m_arguments;
    QByteArray m_input;
    QString m_inputFile;
    QString m_outputFile;
    int m_signal = 0;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
};

}
