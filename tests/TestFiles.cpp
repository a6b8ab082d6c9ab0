#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>

namespace TestFiles {

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
        && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return Missing;
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QSet<QByteArray> Contents(const QString &folder)
{
    QSet<QByteArray> contents;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        contents.insert(Read(info.filePath()));
    return contents;
}

ProgramRun &ProgramRun::SignalAtSync(const QString &namePart, int nth, int signal)
{
    m_signal = signal;
    if (signal == 0)
        return *this;
    // A sanitized program wants its runtime first; this one only adds fsync.
    const QString asan = m_environment.value(QStringLiteral("ASAN_OPTIONS"));
    return Set(QStringLiteral("LD_PRELOAD"), QStringLiteral(PICAROON_SYNC_HOLD))
        .Set(QStringLiteral("ASAN_OPTIONS"), asan + QStringLiteral(":verify_asan_link_order=0"))
        .Set(QStringLiteral("HOLD_SYNC_NAME"), namePart)
        .Set(QStringLiteral("HOLD_SYNC_AT"), QString::number(nth));
}

std::unique_ptr<QProcess> ProgramRun::Start() const
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(m_environment);
    if (!m_inputFile.isEmpty())
        process->setStandardInputFile(m_inputFile);
    if (!m_outputFile.isEmpty())
        process->setStandardOutputFile(m_outputFile);
    process->start(m_program, m_arguments);
    if (m_inputFile.isEmpty()) {
        process->write(m_input);
        process->closeWriteChannel();
    }
    return process;
}

ProgramResult ProgramRun::Run(int timeoutMs) const
{
    const auto process = Start();
    QByteArray said;
    if (m_signal != 0) {
        const QByteArray held = "sync held\n";
        process->setReadChannel(QProcess::StandardError);
        while (!said.contains(held) && process->waitForReadyRead(timeoutMs))
            said += process->readAllStandardError();
        if (said.contains(held))
            ::kill(pid_t(process->processId()), m_signal);
        said.replace(held, QByteArray());
    }
    ProgramResult result = Finish(*process, timeoutMs);
    result.errors.prepend(said);
    return result;
}

ProgramResult ProgramRun::Finish(QProcess &process, int timeoutMs)
{
    ProgramResult result;
    // waitForFinished is false for a process that has already ended.
    const bool ended = process.state() == QProcess::NotRunning || process.waitForFinished(timeoutMs);
    if (ended && process.exitStatus() == QProcess::NormalExit)
        result.status = process.exitCode();
    else
        process.kill();
    process.waitForFinished();
    result.output = process.readAllStandardOutput();
    result.errors = process.readAllStandardError();
    return result;
}

}
