#include "settings/ProgramSettings.h"

#include "folder/FileOps.h"
#include "folder/NativeName.h"
#include "folder/PlainFile.h"
#include "settings/HomeLocation.h"
#include "settings/HostAddress.h"
#include "settings/SettingTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QCoreApplication>

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

constexpr qint64 LargestFile = 1024 * 1024;

// What QSettings would take, checked line by line beforehand: it reads a
// section only when asked for one of its keys, and on saving writes over
// whatever it could not read.
bool ReadsAsSettings(const QByteArray &bytes)
{
    const auto unfit = [](char c) { return uchar(c) < 0x20 && c != '\t' && c != '\r' && c != '\n'; };
    if (std::any_of(bytes.cbegin(), bytes.cend(), unfit))
        return false;
    const QList<QByteArray> lines = bytes.split('\n');
    return std::all_of(lines.cbegin(), lines.cend(), [](const QByteArray &line) {
        const QByteArray text = line.trimmed();
        return text.isEmpty() || text.startsWith(';') || text.startsWith('#') || text.contains('=')
            || (text.startsWith('[') && text.endsWith(']'));
    });
}

// The file's bytes, read without waiting and only from a plain file; empty
// when it is missing. False with *problem when it cannot be read or holds
// no settings.
bool ReadSettingsFile(const QString &path, QByteArray *bytes, QString *problem)
{
    bytes->clear();
    int cause = 0;
    QString why;
    PlainFile file = PlainFile::Open(path, O_RDONLY, 0, &cause, &why);
    if (!file.IsOpen() && cause == ENOENT)
        return true;
    QFile reader;
    if (file.HandTo(reader, &why)) {
        *bytes = reader.read(LargestFile + 1);
        if (reader.error() != QFileDevice::NoError)
            why = reader.errorString();
        else if (bytes->size() > LargestFile || !ReadsAsSettings(*bytes))
            why = QCoreApplication::translate("ProgramSettings", "it is no settings file");
        else
            return true;
    }
    *problem = QCoreApplication::translate("ProgramSettings", "Cannot read %1: %2").arg(Shown(path), why);
    return false;
}

// Written beside the file, synced, then renamed over it. A link stays a
// link: the file it points at is the one replaced.
bool Replace(const QString &path, const QByteArray &bytes, QString *error)
{
    const QFileInfo info(path);
    const QFileInfo target(info.isSymLink() && info.exists() ? info.canonicalFilePath() : path);
    const QString temporary = target.dir().filePath(
        QStringLiteral(".%1-%2").arg(target.fileName()).arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0')));
    int cause = 0;
    QString why;
    PlainFile file = PlainFile::Open(temporary, O_WRONLY | O_CREAT | O_EXCL, 0600, &cause, &why);
    if (file.IsOpen()) {
        bool done = file.WriteAll(bytes.constData(), bytes.size(), &cause);
        if (done && ::fsync(file.Descriptor()) != 0) {
            cause = errno;
            done = false;
        }
        done = done && file.Close(&cause);
        if (done && ::rename(PlainFile::Native(temporary).constData(), PlainFile::Native(target.filePath()).constData()) != 0) {
            cause = errno;
            done = false;
        }
        if (done)
            return true;
        ::unlink(PlainFile::Native(temporary).constData());
    }
    *error = QCoreApplication::translate("ProgramSettings", "Cannot save the settings to %1: %2")
                 .arg(Shown(path), PlainFile::SystemError(cause));
    return false;
}

}

ProgramSettings::ProgramSettings(const QString &path)
    : m_path(path)
{
    QByteArray bytes;
    if (path.isEmpty() || !ReadSettingsFile(path, &bytes, &m_readProblem))
        return;
    // QSettings opens its file by name, and would wait on a named pipe put
    // in its place; it only ever sees this private copy.
    m_copy = std::make_unique<QTemporaryDir>();
    QFile copy(m_copy->filePath(QStringLiteral("picaroon.conf")));
    if (!m_copy->isValid() || !copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size() || !copy.flush()) {
        m_readProblem
            = QCoreApplication::translate("ProgramSettings", "Cannot read %1: no working copy can be made in %2: %3")
                  .arg(Shown(path), Shown(QDir::tempPath()),
                       m_copy->isValid() ? copy.errorString() : m_copy->errorString());
        return;
    }
    copy.close();
    m_settings = std::make_unique<QSettings>(copy.fileName(), QSettings::IniFormat);
    m_settings->allKeys();
    if (m_settings->status() != QSettings::NoError) {
        m_readProblem
            = QCoreApplication::translate("ProgramSettings", "Cannot read %1: it is no settings file").arg(Shown(path));
        m_settings.reset();
    }
}

ProgramSettings::~ProgramSettings() = default;

QString ProgramSettings::DefaultPath()
{
    const QString folder = HomeLocation::UserFolder(QStandardPaths::GenericConfigLocation, "XDG_CONFIG_HOME");
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/picaroon/picaroon.conf");
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
            problems.append(
                QCoreApplication::translate("ProgramSettings", "%1 in %2: %3").arg(Key(key), Shown(m_path), problem));
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

bool ProgramSettings::KeepLocation() const { return Value(SettingKey::KeepLocation) == QLatin1String("true"); }

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
    if (m_path.isEmpty()) {
        *error = QCoreApplication::translate("ProgramSettings", "Cannot save the settings: %1")
                     .arg(HomeLocation::NoHomeText());
        return false;
    }
    if (!m_settings) {
        *error = m_readProblem;
        return false;
    }
    if (!FileOps::CreatePath(QFileInfo(m_path).absolutePath(), error))
        return false;
    m_settings->sync();
    QFile copy(m_settings->fileName());
    if (m_settings->status() != QSettings::NoError || !copy.open(QIODevice::ReadOnly)) {
        *error = QCoreApplication::translate("ProgramSettings",
                                             "Cannot save the settings to %1: its working copy in %2 cannot be written")
                     .arg(Shown(m_path), Shown(QDir::tempPath()));
        return false;
    }
    // Whatever was put in its place meanwhile is written over only when it
    // too is a settings file.
    QByteArray now;
    return ReadSettingsFile(m_path, &now, error) && Replace(m_path, copy.readAll(), error);
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
    return QCoreApplication::translate("ProgramSettings",
                                       "No upload server is set: give it in the settings dialog (Ctrl+,), "
                                       "in the file %1 (key uploadHost in the section [service]) or with --host.")
        .arg(Shown(m_path));
}
