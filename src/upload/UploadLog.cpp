#include "upload/UploadLog.h"

#include "folder/FileOps.h"
#include "folder/NativeName.h"
#include "folder/PlainFile.h"
#include "settings/HomeLocation.h"
#include "upload/RunScheduler.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
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
    if (!state.startsWith(QLatin1Char('/'))) {
        const QString home = HomeLocation::UserHome();
        if (home.isEmpty())
            return QString();
        state = home + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/picaroon/uploads.log");
}

QString UploadLog::PathInHome(const QString &home)
{
    return QDir(home).filePath(QStringLiteral("uploads.log"));
}

QByteArray UploadLog::Line(const QDateTime &when, const PictureOutcome &outcome)
{
    // Formatting a local time with its offset asks the time zone each
    // time; a run logs many pictures a second, so the text is kept per second.
    static thread_local qint64 cachedSecond = -1;
    static thread_local QByteArray cachedTime;
    const qint64 second = when.toSecsSinceEpoch();
    if (second != cachedSecond) {
        const QDateTime local = QDateTime::fromSecsSinceEpoch(second).toLocalTime();
        cachedTime = local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate).toLatin1();
        cachedSecond = second;
    }
    const QString name = outcome.path.mid(outcome.path.lastIndexOf(QLatin1Char('/')) + 1);
    QByteArray line;
    line.reserve(128);
    line += cachedTime;
    line += '\t';
    line += NativeName::Escaped(name).toUtf8();
    line += '\t';
    line += outcome.size >= 0 ? QByteArray::number(outcome.size) : QByteArray("-");
    line += '\t';
    line += NativeName::Escaped(OutcomeText(outcome)).toUtf8();
    // What was done to the picture follows the words, which may be empty.
    if (!outcome.words.isEmpty() || !outcome.done.isEmpty()) {
        line += '\t';
        line += NativeName::Escaped(outcome.words).toUtf8();
    }
    if (!outcome.done.isEmpty()) {
        line += '\t';
        line += NativeName::Escaped(outcome.done).toUtf8();
    }
    line += '\n';
    return line;
}

void UploadLog::Follow(RunScheduler &run)
{
    connect(&run, &RunScheduler::RunStarted, this, &UploadLog::BeginRun);
    connect(&run, &RunScheduler::PictureHandled, this, &UploadLog::Record);
    connect(&run, &RunScheduler::RunEnded, this, &UploadLog::EndRun);
}

void UploadLog::BeginRun()
{
    EndRun();
    m_failed = false;
}

void UploadLog::EndRun()
{
    int cause = 0;
    if (!m_file.Close(&cause))
        Fail(PlainFile::SystemError(cause));
}

bool UploadLog::Open(QString *why)
{
    if (m_path.isEmpty()) {
        *why = HomeLocation::NoHomeText();
        return false;
    }
    const QString folder = QFileInfo(m_path).path();
    if (!FileOps::CreatePath(folder, why))
        return false;
    int cause = 0;
    // A link put where the log goes would have the records written over
    // whatever it points at.
    m_file = PlainFile::Open(m_path, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW, 0644, &cause, why);
    if (cause == ELOOP)
        *why = tr("it is a symbolic link, which the log never follows");
    return m_file.IsOpen();
}

void UploadLog::Record(const PictureOutcome &outcome)
{
    if (m_failed)
        return;
    QString why;
    if (!m_file.IsOpen() && !Open(&why)) {
        Fail(why);
        return;
    }
    const QByteArray line = Line(QDateTime::currentDateTimeUtc(), outcome);
    const ssize_t put = ::write(m_file.Descriptor(), line.constData(), size_t(line.size()));
    if (put == line.size())
        return;
    const int cause = put < 0 ? errno : ENOSPC;
    // A record is whole or absent: a cut one would run into the next.
    struct stat info;
    if (put > 0 && ::fstat(m_file.Descriptor(), &info) == 0)
        [[maybe_unused]] const int ignored = ::ftruncate(m_file.Descriptor(), info.st_size - put);
    Fail(PlainFile::SystemError(cause));
}

void UploadLog::Fail(const QString &why)
{
    m_file = PlainFile();
    if (m_failed)
        return;
    m_failed = true;
    emit Trouble(tr("Cannot write the upload log %1: %2").arg(QDir::toNativeSeparators(m_path), why));
}
