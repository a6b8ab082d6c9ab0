#include "standin/PictureStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

QString NameFor(qint64 number)
{
    return QStringLiteral("%1.jpg").arg(number, 6, 10, QLatin1Char('0'));
}

}

PictureStore::PictureStore(const QString &folder)
    : m_folder(folder)
{
}

bool PictureStore::Open(QString *error)
{
    QDir dir(m_folder);
    if (!dir.exists() && !dir.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("cannot create %1").arg(m_folder);
        return false;
    }
    static const QRegularExpression ownName(QStringLiteral("^(\\d{1,15})\\.jpg$"));
    QList<std::pair<qint64, QString>> found;
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = ownName.match(name);
        if (match.hasMatch())
            found.append({match.captured(1).toLongLong(), name});
    }
    std::sort(found.begin(), found.end());
    for (const auto &[number, name] : found) {
        m_names.append(name);
        m_known.insert(name);
        m_next = number + 1;
    }
    return true;
}

std::optional<QString> PictureStore::Store(QByteArrayView picture, QString *error)
{
    QString name = NameFor(m_next);
    while (m_known.contains(name) || QFile::exists(PathOf(name)))
        name = NameFor(++m_next);
    // Written beside the target and renamed, so a reader of the folder never
    // sees half a picture. No flush to disk: a stand-in that waited for the
    // disk would make the uploads it serves look slower than they are.
    const QString partial = PathOf(QStringLiteral(".partial-") + name);
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly) || file.write(picture.data(), picture.size()) != picture.size()) {
        *error = file.errorString();
        file.remove();
        return std::nullopt;
    }
    file.close();
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(partial).toStdString(),
                            QFile::encodeName(PathOf(name)).toStdString(), failed);
    if (failed) {
        *error = QString::fromStdString(failed.message());
        QFile::remove(partial);
        return std::nullopt;
    }
    ++m_next;
    m_names.append(name);
    m_known.insert(name);
    return name;
}

std::optional<QByteArray> PictureStore::Read(const QString &name) const
{
    const std::unique_ptr<QFile> file = Open(name);
    if (!file)
        return std::nullopt;
    return file->readAll();
}

std::unique_ptr<QFile> PictureStore::Open(const QString &name) const
{
    auto file = std::make_unique<QFile>(PathOf(name));
    if (!Contains(name) || !file->open(QIODevice::ReadOnly))
        return nullptr;
    return file;
}

QString PictureStore::PathOf(const QString &name) const
{
    return m_folder + QLatin1Char('/') + name;
}
