#include "cli/StandardOutput.h"

#include "cli/ExitStatus.h"
#include "folder/NativeName.h"
#include "folder/PlainFile.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cerrno>

void StandardOutput::Error(const QString &text)
{
    Print(stderr, NativeName::Escaped(text));
}

void StandardOutput::ErrorText(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
}

int StandardOutput::Finish(const QString &subject, int status)
{
    if (std::fflush(stdout) != 0 && m_failure == 0)
        m_failure = errno;
    if (std::ferror(stdout) && m_failure == 0)
        m_failure = EIO;
    if (m_failure == 0)
        return status;
    Error(QCoreApplication::translate("StandardOutput", "%1: Cannot write standard output: %2")
              .arg(subject, PlainFile::SystemError(m_failure)));
    return status == ExitStatus::Success ? int(ExitStatus::Unexpected) : status;
}

void StandardOutput::Print(FILE *stream, const QString &text)
{
    const QByteArray line = text.toUtf8() + '\n';
    const bool written = std::fwrite(line.constData(), 1, size_t(line.size()), stream) == size_t(line.size())
        && std::fflush(stream) == 0;
    if (!written && stream == stdout && m_failure == 0)
        m_failure = errno != 0 ? errno : EIO;
}
