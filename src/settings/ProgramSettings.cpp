#include "settings/ProgramSettings.h"

#include "folder/FileOps.h"
#include "folder/NativeName.h"
#include "folder/PlainFile.h"
#include "settings/HostAddress.h"
#include "settings/SettingTable.h"

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

QString Shown(const QString &path)
{
    return PlainFile::Shown(path);
}

QString Key(SettingKey key)
{
    return QLatin1String(SettingTable::Row(key).name);
}

// Empty when the file is readable or missing.
QString WhyUnreadable(const QString &path)
{
    int cause = 0;
    QString why;
    if (PlainFile::Open(path, O_RDONLY, 0, &cause, &why).IsOpen() || cause == ENOENT)
        return QString();
    return QStringLiteral("Cannot read %1: %2").arg(Shown(path), why);
}

// QSettings only says that saving failed. Going through the same steps
// itself, a new file beside the old one written, synced and closed, finds
// the system's cause.
QString WhyUnwritable(const QString &path)
{
    if (QFileInfo(path).isDir())
        return PlainFile::SystemError(EISDIR);
    QByteArray probe = NativeName::Encode(QFileInfo(path).absolutePath()) + "/.picaroon-settings-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return PlainFile::SystemError(errno);
    const QByteArray bytes(std::max<qint64>(QFileInfo(path).size(), 0) + 4096, '\n');
    int cause = 0;
    if (::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        cause = errno != 0 ? errno : ENOSPC;
    else if (::fsync(fd) != 0)
        cause = errno;
    if (::close(fd) != 0 && cause == 0)
        cause = errno;
    ::unlink(probe.constData());
    return cause != 0 ? PlainFile::SystemError(cause)
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

QString ProgramSettings::Name(SettingKey key)
{
    return Key(key);
}

QString ProgramSettings::Default(SettingKey key)
{
    return SettingTable::Default(key);
}

QString ProgramSettings::Check(SettingKey key, const QString &text)
{
    return SettingTable::Check(key, text);
}

QString ProgramSettings::Stored(SettingKey key) const
{
    if (!m_settings)
        return QString();
    const QVariant value = m_settings->value(Key(key));
    // An unquoted comma in the file makes a list of the text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

QString ProgramSettings::Problem(SettingKey key) const
{
    const QString stored = Stored(key);
    return stored.isEmpty() ? QString() : Check(key, stored);
}

QString ProgramSettings::Value(SettingKey key) const
{
    const QString stored = Stored(key);
    return stored.isEmpty() || !Check(key, stored).isEmpty() ? Default(key) : stored;
}

QStringList ProgramSettings::Problems() const
{
    if (!m_readProblem.isEmpty())
        return {m_readProblem};
    QStringList problems;
    for (SettingKey key : SettingTable::CheckedKeys()) {
        const QString problem = Problem(key);
        if (!problem.isEmpty())
            problems.append(QStringLiteral("%1 in %2: %3").arg(Key(key), Shown(m_path), problem));
    }
    return problems;
}

QString ProgramSettings::UploadHost() const
{
    return Value(SettingKey::UploadHost);
}

QString ProgramSettings::ImageHost() const
{
    return Value(SettingKey::ImageHost);
}

QString ProgramSettings::Account() const
{
    return Value(SettingKey::Account);
}

int ProgramSettings::Timeout() const
{
    return Value(SettingKey::Timeout).toInt();
}

QString ProgramSettings::LastLogin() const
{
    return m_settings ? m_settings->value(Key(SettingKey::LastLogin)).toString() : QString();
}

std::optional<QPoint> ProgramSettings::WindowPosition() const
{
    if (!m_settings)
        return std::nullopt;
    const QVariant value = m_settings->value(Key(SettingKey::WindowPosition));
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
    return NativeName::Decode(m_settings->value(Key(SettingKey::LastImportFolder)).toByteArray());
}

void ProgramSettings::Store(SettingKey key, const QString &text)
{
    if (!m_settings)
        return;
    if (text.isEmpty())
        m_settings->remove(Key(key));
    else
        m_settings->setValue(Key(key), text);
}

void ProgramSettings::SetLastLogin(const QString &login)
{
    if (m_settings)
        m_settings->setValue(Key(SettingKey::LastLogin), login);
}

void ProgramSettings::SetWindowPosition(const QPoint &position)
{
    if (m_settings)
        m_settings->setValue(Key(SettingKey::WindowPosition), position);
}

void ProgramSettings::SetLastImportFolder(const QString &folder)
{
    if (m_settings)
        m_settings->setValue(Key(SettingKey::LastImportFolder), NativeName::Encode(folder));
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
