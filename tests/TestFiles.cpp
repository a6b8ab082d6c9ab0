#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

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

ProgramResult ProgramRun::Run(int timeoutMs) const { return Finish(*Start(), timeoutMs); }

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
