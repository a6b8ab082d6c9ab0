#include "settings/ProgramSettings.h"

#include "config/BuildSettings.h"
#include "folder/FileOps.h"
#include "folder/NativeName.h"
#include "linktools/LinkExtractor.h"
#include "settings/HostAddress.h"
#include "upload/SilenceTimeout.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype LongestAccount = 18;

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool IsDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool Is(const char *key, const char *other)
{
    return std::strcmp(key, other) == 0;
}

// Opened without waiting, so that a named pipe in its place is refused
// rather than read for ever. Empty when the file is readable or missing.
QString WhyUnreadable(const QString &path)
{
    const int fd = ::open(NativeName::Encode(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? QString()
                               : QStringLiteral("Cannot read %1: %2").arg(Shown(path), FileOps::SystemError(errno));
    }
    struct stat status;
    const bool plain = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    ::close(fd);
    return plain ? QString() : QStringLiteral("Cannot read %1: not a regular file").arg(Shown(path));
}

// QSettings only says that saving failed. Going through the same steps
// itself, a new file beside the old one written, synced and closed, finds
// the system's cause.
QString WhyUnwritable(const QString &path)
{
    if (QFileInfo(path).isDir())
        return FileOps::SystemError(EISDIR);
    QByteArray probe = NativeName::Encode(QFileInfo(path).absolutePath()) + "/.picaroon-settings-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return FileOps::SystemError(errno);
    const QByteArray bytes(std::max<qint64>(QFileInfo(path).size(), 0) + 4096, '\n');
    int cause = 0;
    if (::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        cause = errno != 0 ? errno : ENOSPC;
    else if (::fsync(fd) != 0)
        cause = errno;
    if (::close(fd) != 0 && cause == 0)
        cause = errno;
    ::unlink(probe.constData());
    return cause != 0 ? FileOps::SystemError(cause)
                      : QStringLiteral("the file was locked or changed by another program meanwhile");
}

}

ProgramSettings::ProgramSettings(const QString &path)
    : m_path(path)
    , m_readProblem(WhyUnreadable(path))
{
    if (!m_readProblem.isEmpty())
        return;
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (m_settings->status() == QSettings::FormatError)
        m_readProblem = QStringLiteral("Cannot read %1: it is no settings file").arg(Shown(path));
    else if (m_settings->status() == QSettings::AccessError)
        m_readProblem = WhyUnreadable(path);
    if (!m_readProblem.isEmpty())
        m_settings.reset();
}

ProgramSettings::~ProgramSettings() = default;

QString ProgramSettings::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/picaroon/picaroon.conf");
}

QString ProgramSettings::Default(const char *key)
{
    if (Is(key, UploadHostKey))
        return QString::fromLatin1(BuildSettings::UploadHost);
    if (Is(key, ImageHostKey))
        return QString::fromLatin1(BuildSettings::ImageHost);
    if (Is(key, AccountKey))
        return QString::fromLatin1(LinkExtractor::DefaultAccount);
    if (Is(key, TimeoutKey))
        return QString::number(SilenceTimeout::DefaultSeconds);
    return QString();
}

QString ProgramSettings::Check(const char *key, const QString &text)
{
    HostAddress address;
    QString problem;
    if (Is(key, UploadHostKey) || Is(key, ImageHostKey)) {
        HostAddress::Parse(text, true, &address, &problem);
        return problem;
    }
    if (Is(key, AccountKey)) {
        if (!IsDigits(text) || text.startsWith(QLatin1Char('0')))
            return QStringLiteral("номер учётной записи — целое число больше нуля, одни цифры, а не «%1»").arg(text);
        if (text.size() > LongestAccount)
            return QStringLiteral("номер учётной записи длиннее %1 цифр").arg(LongestAccount);
        return QString();
    }
    if (Is(key, TimeoutKey)) {
        bool ok = IsDigits(text) && text.size() <= 10;
        if (!ok || text.toLongLong() > LongestTimeout)
            return QStringLiteral("тайм-аут — число секунд от 0 до %1 (0 — ждать без конца), а не «%2»")
                .arg(LongestTimeout)
                .arg(text);
        return QString();
    }
    return QString();
}

QString ProgramSettings::Stored(const char *key) const
{
    if (!m_settings)
        return QString();
    const QVariant value = m_settings->value(QLatin1String(key));
    // An unquoted comma in the file makes a list of the text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

QString ProgramSettings::Problem(const char *key) const
{
    const QString stored = Stored(key);
    return stored.isEmpty() ? QString() : Check(key, stored);
}

QString ProgramSettings::Value(const char *key) const
{
    const QString stored = Stored(key);
    return stored.isEmpty() || !Check(key, stored).isEmpty() ? Default(key) : stored;
}

QStringList ProgramSettings::Problems() const
{
    if (!m_readProblem.isEmpty())
        return {m_readProblem};
    QStringList problems;
    for (const char *key : {UploadHostKey, ImageHostKey, AccountKey, TimeoutKey}) {
        const QString problem = Problem(key);
        if (!problem.isEmpty())
            problems.append(QStringLiteral("%1 in %2: %3").arg(QLatin1String(key), Shown(m_path), problem));
    }
    return problems;
}

QString ProgramSettings::UploadHost() const
{
    return Value(UploadHostKey);
}

QString ProgramSettings::ImageHost() const
{
    return Value(ImageHostKey);
}

QString ProgramSettings::Account() const
{
    return Value(AccountKey);
}

int ProgramSettings::Timeout() const
{
    return Value(TimeoutKey).toInt();
}

QString ProgramSettings::LastLogin() const
{
    return m_settings ? m_settings->value(QLatin1String(LastLoginKey)).toString() : QString();
}

std::optional<QPoint> ProgramSettings::WindowPosition() const
{
    if (!m_settings)
        return std::nullopt;
    const QVariant value = m_settings->value(QLatin1String(WindowPositionKey));
    if (value.typeId() != QMetaType::QPoint)
        return std::nullopt;
    return value.toPoint();
}

QString ProgramSettings::LastImportFolder() const
{
    if (!m_settings)
        return QString();
    // Kept as the name's bytes, so that a folder named in bytes that are
    // not valid text is found again.
    return NativeName::Decode(m_settings->value(QLatin1String(LastImportFolderKey)).toByteArray());
}

void ProgramSettings::Store(const char *key, const QString &text)
{
    if (!m_settings)
        return;
    if (text.isEmpty())
        m_settings->remove(QLatin1String(key));
    else
        m_settings->setValue(QLatin1String(key), text);
}

void ProgramSettings::SetLastLogin(const QString &login)
{
    if (m_settings)
        m_settings->setValue(QLatin1String(LastLoginKey), login);
}

void ProgramSettings::SetWindowPosition(const QPoint &position)
{
    if (m_settings)
        m_settings->setValue(QLatin1String(WindowPositionKey), position);
}

void ProgramSettings::SetLastImportFolder(const QString &folder)
{
    if (m_settings)
        m_settings->setValue(QLatin1String(LastImportFolderKey), NativeName::Encode(folder));
}

bool ProgramSettings::Save(QString *error)
{
    if (!m_settings) {
        *error = m_readProblem;
        return false;
    }
    if (!FileOps::CreatePath(QFileInfo(m_path).absolutePath(), error))
        return false;
    // Written to a new file, synced, then renamed over the old one.
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return true;
    *error = QStringLiteral("Cannot save the settings to %1: %2").arg(Shown(m_path), WhyUnwritable(m_path));
    return false;
}

bool ProgramSettings::IsUploadHostSet(const QString &uploadHost)
{
    HostAddress address;
    QString problem;
    return HostAddress::Parse(uploadHost, true, &address, &problem) && !IsPlaceholderHost(address.Host());
}

bool ProgramSettings::IsPlaceholderHost(const QString &host)
{
    const QString name = host.toLower();
    return name.isEmpty() || name == QLatin1String("invalid") || name.endsWith(QLatin1String(".invalid"));
}

QString ProgramSettings::NoUploadHostText() const
{
    return QStringLiteral("Сервер загрузки не задан: укажите его в окне настроек (Ctrl+,), "
                          "в файле %1 (ключ uploadHost в разделе [service]) или ключом --host.")
        .arg(Shown(m_path));
}
