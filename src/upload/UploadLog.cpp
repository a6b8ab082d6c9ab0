#include "upload/UploadLog.h"

#include "folder/FileOps.h"
#include "folder/NativeName.h"
#include "upload/UploadCycle.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString OutcomeText(const PictureOutcome &outcome)
{
    switch (outcome.kind) {
    case PictureOutcome::Kind::Accepted: return QStringLiteral("accepted");
    case PictureOutcome::Kind::SetAside: return QStringLiteral("set aside as ") + outcome.asideName;
    case PictureOutcome::Kind::PassedOver: return QStringLiteral("passed over");
    case PictureOutcome::Kind::Refused: return QStringLiteral("refused");
    case PictureOutcome::Kind::Stopped: return QStringLiteral("stopped");
    case PictureOutcome::Kind::Error: break;
    }
    return QStringLiteral("error");
}

}

UploadLog::UploadLog(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{
}

UploadLog::~UploadLog()
{
    EndRun();
}

QString UploadLog::DefaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/picaroon/uploads.log");
}

QString UploadLog::PathInHome(const QString &home)
{
    return QDir(home).filePath(QStringLiteral("uploads.log"));
}

QString UploadLog::Escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const QByteArray native = NativeName::Encode(text);
    // Walk the name as the system keeps it, so an escaped byte comes out
    // as the very byte it was.
    const QString decoded = QString::fromUtf8(native);
    if (decoded.toUtf8() != native) {
        for (char byte : native) {
            const uchar b = uchar(byte);
            if (b >= 0x80 || b < 0x20 || b == 0x7F || b == '\\')
                out += b == '\\' ? QStringLiteral("\\\\") : QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
            else
                out += QLatin1Char(byte);
        }
        return out;
    }
    for (QChar ch : decoded) {
        switch (ch.unicode()) {
        case '\t': out += QStringLiteral("\\t"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        default:
            if (ch.unicode() < 0x20 || ch.unicode() == 0x7F || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator)
                out += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += ch;
        }
    }
    return out;
}

QByteArray UploadLog::Line(const QDateTime &when, const PictureOutcome &outcome)
{
    const QDateTime local = when.toLocalTime();
    const QString time = local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
    QStringList fields = {time, Escaped(QFileInfo(outcome.path).fileName()),
                          outcome.size >= 0 ? QString::number(outcome.size) : QStringLiteral("-"),
                          Escaped(OutcomeText(outcome))};
    if (!outcome.words.isEmpty())
        fields << Escaped(outcome.words);
    return fields.join(QLatin1Char('\t')).toUtf8() + '\n';
}

void UploadLog::Follow(UploadCycle &cycle)
{
    connect(&cycle, &UploadCycle::RunStarted, this, &UploadLog::BeginRun);
    connect(&cycle, &UploadCycle::PictureHandled, this, &UploadLog::Record);
    connect(&cycle, &UploadCycle::RunEnded, this, &UploadLog::EndRun);
}

void UploadLog::BeginRun()
{
    EndRun();
    m_failed = false;
}

void UploadLog::EndRun()
{
    if (m_fd >= 0 && ::close(m_fd) != 0 && errno != EINTR)
        Fail(FileOps::SystemError(errno));
    m_fd = -1;
}

bool UploadLog::Open(QString *why)
{
    const QString folder = QFileInfo(m_path).path();
    if (!QDir().mkpath(folder)) {
        *why = QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // Not blocking: a named pipe in the log's place must not hold the run.
    m_fd = ::open(NativeName::Encode(m_path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    struct stat info;
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0) {
        *why = FileOps::SystemError(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *why = QStringLiteral("not a regular file");
        return false;
    }
    return true;
}

void UploadLog::Record(const PictureOutcome &outcome)
{
    if (m_failed)
        return;
    QString why;
    if (m_fd < 0 && !Open(&why)) {
        Fail(why);
        return;
    }
    const QByteArray line = Line(QDateTime::currentDateTime(), outcome);
    const ssize_t put = ::write(m_fd, line.constData(), size_t(line.size()));
    if (put == line.size())
        return;
    const int cause = put < 0 ? errno : ENOSPC;
    // A record is whole or absent: a cut one would run into the next.
    struct stat info;
    if (put > 0 && ::fstat(m_fd, &info) == 0)
        [[maybe_unused]] const int ignored = ::ftruncate(m_fd, info.st_size - put);
    Fail(FileOps::SystemError(cause));
}

void UploadLog::Fail(const QString &why)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (m_failed)
        return;
    m_failed = true;
    emit Trouble(QStringLiteral("Cannot write the upload log %1: %2").arg(QDir::toNativeSeparators(m_path), why));
}
